#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folvane::chm {

// One name of the container: a file of content section 0 or 1, or a folder ("/sub/",
// section 0, offset and length 0).
struct DirectoryEntry {
    std::string name; // UTF-8
    std::uint32_t section = 0;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// Readers look names up ignoring the case of ASCII letters, and search the listing in
// the order of this comparison: bytes, with A-Z taken as a-z.
int compareDirectoryNames(std::string_view a, std::string_view b);

} // namespace folvane::chm
