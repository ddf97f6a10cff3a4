#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folvane {

// POSIX: the bytes of a path named in UTF-8 as the file system holds it. A name that does not
// exist in UTF-8 may exist in the ANSI code page codePage (a site unpacked from an archive
// made on Windows, whose names the folder scan read that way): each step of the path takes
// the spelling that exists, so a folder in the code page may hold UTF-8 names and back.
std::string nativeSpelling(std::string_view utf8, std::uint32_t codePage);

} // namespace folvane
