#include "chm/search/ScaleRootWriter.h"

#include <bit>

namespace folvane::chm {

void ScaleRootWriter::bits(std::uint64_t value, unsigned count) {
    // pending_ keeps fewer than 8 bits between calls, so 56 more always fit.
    if (count > 56) {
        bits(value >> 32, count - 32);
        bits(value & 0xFFFFFFFFu, 32);
        return;
    }
    pending_ = (pending_ << count) | (value & ((std::uint64_t{1} << count) - 1));
    pendingBits_ += count;
    if (pendingBits_ < 8)
        return;
    const std::size_t whole = pendingBits_ / 8;
    const std::size_t at = out_.size();
    out_.resize(at + whole);
    for (std::size_t i = 0; i < whole; ++i) {
        pendingBits_ -= 8;
        out_[at + i] = static_cast<std::uint8_t>(pending_ >> pendingBits_);
    }
}

void ScaleRootWriter::put(std::uint32_t value, unsigned root) {
    const auto width = static_cast<unsigned>(std::bit_width(value));
    if (width <= root) {
        bits(value, root + 1); // a 0 bit, then the root bits
        return;
    }
    // n - root one bits, a 0 bit, the n - 1 low bits: at most 2 * 32 bits.
    const unsigned prefix = width - root;
    const std::uint64_t low = value & ((std::uint64_t{1} << (width - 1)) - 1);
    const std::uint64_t ones = ((std::uint64_t{1} << prefix) - 1) << (width);
    bits(ones | low, prefix + width);
}

void ScaleRootWriter::alignToByte() {
    if (pendingBits_ > 0)
        bits(0, 8 - pendingBits_);
}

} // namespace folvane::chm
