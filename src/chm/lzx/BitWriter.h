#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace folvane::chm::lzx {

// Packs bits the way LZX readers take them: 16-bit little-endian words, each filled from
// its most significant bit down.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    // count: 0 to 32; value must fit in count bits.
    void write(std::uint32_t value, int count) {
        pending_ = (pending_ << count) | value;
        pendingBits_ += count;
        while (pendingBits_ >= 16) {
            pendingBits_ -= 16;
            const auto word = static_cast<std::uint16_t>(pending_ >> pendingBits_);
            out_.push_back(static_cast<std::uint8_t>(word));
            out_.push_back(static_cast<std::uint8_t>(word >> 8));
        }
    }

    // Zero bits up to the next word: readers realign after every frame.
    void alignToWord() {
        if (pendingBits_ > 0)
            write(0, 16 - pendingBits_);
    }

    std::size_t bytesWritten() const { return out_.size(); }

private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t pending_ = 0;
    int pendingBits_ = 0;
};

} // namespace folvane::chm::lzx
