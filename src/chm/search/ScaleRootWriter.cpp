#include "chm/search/ScaleRootWriter.h"

#include <bit>

namespace folvane::chm {

void ScaleRootWriter::bits(std::uint64_t value, unsigned count) {
    while (count > 0) {
        const unsigned take = count > 32 ? 32 : count;
        count -= take;
        pending_ = (pending_ << take) | ((value >> count) & ((std::uint64_t{1} << take) - 1));
        pendingBits_ += take;
        while (pendingBits_ >= 8) {
            pendingBits_ -= 8;
            out_.push_back(static_cast<std::uint8_t>(pending_ >> pendingBits_));
        }
    }
}

void ScaleRootWriter::put(std::uint32_t value, unsigned root) {
    const auto width = static_cast<unsigned>(std::bit_width(value));
    if (width <= root) {
        bits(value, root + 1); // a 0 bit, then the root bits
        return;
    }
    const unsigned prefix = width - root;
    bits(((std::uint64_t{1} << prefix) - 1) << 1, prefix + 1);
    bits(value, width - 1);
}

void ScaleRootWriter::alignToByte() {
    if (pendingBits_ > 0)
        bits(0, 8 - pendingBits_);
}

} // namespace folvane::chm
