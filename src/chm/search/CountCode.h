#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace folvane::chm {

// Counts of the search index: seven bits a byte, lowest first, the top bit saying more follow.
inline void putCount(std::vector<std::uint8_t>& out, std::uint64_t value) {
    do {
        auto byte = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value != 0)
            byte |= 0x80;
        out.push_back(byte);
    } while (value != 0);
}

inline std::size_t countSize(std::uint64_t value) {
    std::size_t n = 1;
    while (value >>= 7)
        ++n;
    return n;
}

} // namespace folvane::chm
