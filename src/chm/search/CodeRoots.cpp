#include "chm/search/CodeRoots.h"

#include <bit>

namespace folvane::chm {

void CodeRoots::add(std::uint32_t value) {
    ++widths_[static_cast<std::size_t>(std::bit_width(value))];
}

unsigned CodeRoots::best() const {
    unsigned best = 1;
    std::uint64_t bestBits = ~std::uint64_t{0};
    for (unsigned root = 1; root <= 15; ++root) {
        std::uint64_t bits = 0;
        for (unsigned width = 0; width < widths_.size(); ++width)
            bits += widths_[width] * (width <= root ? root + 1 : 2 * width - root);
        if (bits < bestBits) {
            bestBits = bits;
            best = root;
        }
    }
    return best;
}

} // namespace folvane::chm
