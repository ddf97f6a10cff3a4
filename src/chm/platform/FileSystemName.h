#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace folvane::chm {

// The path of a file named in a project. On POSIX a name that does not exist in UTF-8 may
// exist in the ANSI code page of the project's language (a site unpacked from an archive
// made on Windows, whose pages the program lists by that reading): each step of the path
// takes the spelling that exists. Elsewhere the UTF-8 path.
std::filesystem::path fileSystemPath(std::string_view utf8, std::uint32_t codePage);

} // namespace folvane::chm
