#pragma once

#include <cstdint>

namespace folvane::chm::lzx {

// One step of a parsed span: a literal or a match, already in the terms the bit stream
// sends it in, so trees can be counted and written without parsing again.
struct Item {
    std::uint16_t symbol = 0; // main tree symbol
    std::uint16_t length = 1; // bytes it stands for
    std::uint32_t footer = 0; // formatted offset minus its slot's base

    bool isMatch() const { return symbol >= 256; }
    int slot() const { return (symbol - 256) >> 3; }
};

} // namespace folvane::chm::lzx
