#pragma once

#include "chm/lzx/LzxFormat.h"

#include <array>
#include <cstdint>

namespace folvane::chm::lzx {

// What symbols will roughly cost once the trees are built, learnt from the symbols parsed
// so far in the span, in sixteenths of a bit. The parser weighs matches with it.
class PriceModel {
public:
    static constexpr int kOne = 16;

    void reset();
    void countLiteral(std::uint8_t byte);
    void countMatch(int slot, int length);
    // Turns the counts into prices; cheap enough to call every few kilobytes.
    void update();

    int literal(std::uint8_t byte) const { return mainPrice_[byte]; }
    int averageLiteral() const { return averageLiteral_; }
    int match(int slot, int length) const {
        int price = mainPrice_[mainSymbol(slot, length)] + footerBits(slot) * kOne;
        if (hasLengthSymbol(length))
            price += lengthPrice_[lengthSymbol(length)];
        return price;
    }

private:
    std::array<std::uint32_t, kMainSymbols> main_{};
    std::array<std::uint32_t, kLengthSymbols> length_{};
    std::array<int, kMainSymbols> mainPrice_{};
    std::array<int, kLengthSymbols> lengthPrice_{};
    int averageLiteral_ = 8 * kOne;
};

} // namespace folvane::chm::lzx
