#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace folvane::chm {

// #STRINGS: NUL-terminated strings in the help file's code page, found by their offset.
// Offset 0 is the empty string. Readers load the file in 4 KiB blocks, so no string
// crosses a block boundary.
class StringTable {
public:
    StringTable();

    // The offset of text (code-page bytes), added once however often it is asked for.
    std::uint32_t add(std::string_view text);
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    static constexpr std::size_t kBlockSize = 0x1000;

private:
    std::vector<std::uint8_t> bytes_;
    std::unordered_map<std::string, std::uint32_t> offsets_;
};

} // namespace folvane::chm
