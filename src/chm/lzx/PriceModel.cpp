#include "chm/lzx/PriceModel.h"

#include <algorithm>
#include <bit>

namespace folvane::chm::lzx {

namespace {
// Counts start from a prior in quarters: every literal seen once, every match symbol a
// quarter time, so the first kilobytes of a span are parsed as if literals cost 8 bits.
constexpr std::uint32_t kLiteralPrior = 4;
constexpr std::uint32_t kMatchPrior = 1;
constexpr std::uint32_t kLengthPrior = 1;
constexpr std::uint32_t kSeen = 4;

// log2(x) in sixteenths, from the top bit and the five below it. Integers only, so the
// parse (and the output) is the same on every platform.
int log2Sixteenths(std::uint32_t x) {
    static constexpr std::array<int, 32> kFraction = {0, 1,  1,  2,  3,  3,  4,  5,  5,  6,  6,  7,  7,  8,  8,  9,
                                                      9, 10, 10, 11, 11, 12, 12, 13, 13, 13, 14, 14, 15, 15, 15, 16};
    const int top = std::bit_width(x) - 1;
    const std::uint32_t mantissa = top >= 5 ? x >> (top - 5) : x << (5 - top);
    return top * PriceModel::kOne + kFraction[mantissa & 31];
}

template <std::size_t N> void toPrices(const std::array<std::uint32_t, N>& counts, std::array<int, N>& prices) {
    std::uint32_t total = 0;
    for (std::uint32_t c : counts)
        total += c;
    const int whole = log2Sixteenths(total);
    for (std::size_t s = 0; s < N; ++s)
        prices[s] = std::clamp(whole - log2Sixteenths(counts[s]), PriceModel::kOne, kMaxCodeLength * PriceModel::kOne);
}
} // namespace

void PriceModel::reset() {
    std::fill(main_.begin(), main_.begin() + kLiterals, kLiteralPrior);
    std::fill(main_.begin() + kLiterals, main_.end(), kMatchPrior);
    std::fill(length_.begin(), length_.end(), kLengthPrior);
    update();
}

void PriceModel::countLiteral(std::uint8_t byte) {
    main_[byte] += kSeen;
}

void PriceModel::countMatch(int slot, int length) {
    main_[mainSymbol(slot, length)] += kSeen;
    if (hasLengthSymbol(length))
        length_[lengthSymbol(length)] += kSeen;
}

void PriceModel::update() {
    toPrices(main_, mainPrice_);
    toPrices(length_, lengthPrice_);
    std::uint64_t weighted = 0;
    std::uint64_t literals = 0;
    for (int s = 0; s < kLiterals; ++s) {
        weighted += static_cast<std::uint64_t>(main_[s]) * mainPrice_[s];
        literals += main_[s];
    }
    averageLiteral_ = static_cast<int>(weighted / literals);
}

} // namespace folvane::chm::lzx
