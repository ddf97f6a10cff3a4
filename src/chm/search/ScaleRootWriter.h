#pragma once

#include <cstdint>
#include <vector>

namespace folvane::chm {

// Numbers in the scale-and-root code of the search index's location lists (scale 2): a
// value below 2^root is a 0 bit and root bits; a longer value of n bits is n - root one
// bits, a 0 bit and its n - 1 low bits. Bits run from the most significant of each byte.
class ScaleRootWriter {
public:
    explicit ScaleRootWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    ~ScaleRootWriter() { alignToByte(); }
    ScaleRootWriter(const ScaleRootWriter&) = delete;
    ScaleRootWriter& operator=(const ScaleRootWriter&) = delete;

    void put(std::uint32_t value, unsigned root);
    // Pads the last byte with 0 bits.
    void alignToByte();

private:
    void bits(std::uint64_t value, unsigned count);

    std::vector<std::uint8_t>& out_;
    std::uint64_t pending_ = 0;
    unsigned pendingBits_ = 0;
};

} // namespace folvane::chm
