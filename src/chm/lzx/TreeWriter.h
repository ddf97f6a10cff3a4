#pragma once

#include "chm/lzx/BitWriter.h"
#include "chm/lzx/HuffmanCode.h"

#include <cstdint>
#include <span>
#include <vector>

namespace folvane::chm::lzx {

// Sends a run of code lengths as changes against the lengths the reader already holds,
// through a pretree of 20 symbols: 0-16 change one length, 17 and 18 send runs of zeros,
// 19 repeats one change over four or five lengths.
class TreeWriter {
public:
    void write(std::span<const std::uint8_t> lengths, std::span<const std::uint8_t> previous, BitWriter& out);
    // Bits write() would take.
    std::uint64_t cost(std::span<const std::uint8_t> lengths, std::span<const std::uint8_t> previous);

private:
    struct Token {
        std::uint8_t symbol;
        std::uint8_t extraBits;
        std::uint8_t extra;
        std::uint8_t change; // 19 only: the change it repeats
    };

    void tokenize(std::span<const std::uint8_t> lengths, std::span<const std::uint8_t> previous);

    std::vector<Token> tokens_;
    HuffmanCode pretree_;
};

} // namespace folvane::chm::lzx
