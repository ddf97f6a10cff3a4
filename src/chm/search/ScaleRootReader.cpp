#include "chm/search/ScaleRootReader.h"

namespace folvane::chm {

// Past the end reads zeros: a damaged list ends its number instead of running on.
unsigned ScaleRootReader::bit() {
    const std::size_t byte = bit_ / 8;
    const unsigned value = byte < bytes_.size() ? (bytes_[byte] >> (7 - bit_ % 8)) & 1u : 0u;
    ++bit_;
    return value;
}

std::uint32_t ScaleRootReader::bits(unsigned count) {
    std::uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i)
        value = (value << 1) | bit();
    return value;
}

std::uint32_t ScaleRootReader::get(unsigned root) {
    unsigned ones = 0;
    while (ones < 32 && bit() == 1)
        ++ones;
    if (ones == 0)
        return bits(root);
    const unsigned width = root + ones;
    if (width > 32)
        return 0;
    return (std::uint32_t{1} << (width - 1)) | bits(width - 1);
}

} // namespace folvane::chm
