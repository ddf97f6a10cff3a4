#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace folvane::chm {

// Reads what ScaleRootWriter writes.
class ScaleRootReader {
public:
    explicit ScaleRootReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint32_t get(unsigned root);
    // Bytes begun so far: where the next byte-aligned value starts.
    std::size_t bytesUsed() const { return (bit_ + 7) / 8; }

private:
    unsigned bit();
    std::uint32_t bits(unsigned count);

    std::span<const std::uint8_t> bytes_;
    std::size_t bit_ = 0;
};

} // namespace folvane::chm
