#pragma once

#include <bit>
#include <cstdint>

namespace folvane::chm::lzx {

// The numbers of the bit stream that a 64 KiB window fixes.
constexpr int kMinMatch = 2;
constexpr int kMaxMatch = 257;
constexpr int kLiterals = 256;
constexpr int kPositionSlots = 32;
constexpr int kMainSymbols = kLiterals + kPositionSlots * 8;
constexpr int kLengthSymbols = 249;
constexpr int kAlignedSymbols = 8;
constexpr int kPretreeSymbols = 20;
// Match lengths up to this many bytes over the minimum fit in the main symbol.
constexpr int kPrimaryLengths = 7;
constexpr int kRepeatedOffsets = 3;
// The last slot ends at the window size; formatted offsets are the distance plus two.
constexpr std::uint32_t kMaxDistance = 65536 - 1 - 2;

constexpr int kMaxCodeLength = 16;
constexpr int kMaxPretreeLength = 15;
constexpr int kMaxAlignedLength = 7;

enum class BlockType : std::uint32_t { Verbatim = 1, Aligned = 2 };

// Offsets are sent as slot + footer; the three smallest "formatted" values name the
// repeated offsets, so a real offset d is formatted as d + 2.
constexpr std::uint32_t formattedOffset(std::uint32_t distance) {
    return distance + kRepeatedOffsets - 1;
}

constexpr int positionSlot(std::uint32_t formatted) {
    if (formatted < 4)
        return static_cast<int>(formatted);
    const int top = std::bit_width(formatted) - 1;
    return 2 * top + static_cast<int>((formatted >> (top - 1)) & 1);
}

constexpr int footerBits(int slot) {
    return slot < 4 ? 0 : slot / 2 - 1;
}

constexpr std::uint32_t slotBase(int slot) {
    if (slot < 4)
        return static_cast<std::uint32_t>(slot);
    return (2u | static_cast<std::uint32_t>(slot & 1)) << footerBits(slot);
}

constexpr int mainSymbol(int slot, int length) {
    const int header = length - kMinMatch < kPrimaryLengths ? length - kMinMatch : kPrimaryLengths;
    return kLiterals + slot * 8 + header;
}

// The length tree carries what the main symbol's three length bits cannot.
constexpr bool hasLengthSymbol(int length) {
    return length - kMinMatch >= kPrimaryLengths;
}
constexpr int lengthSymbol(int length) {
    return length - kMinMatch - kPrimaryLengths;
}

static_assert(positionSlot(formattedOffset(kMaxDistance)) == kPositionSlots - 1);
static_assert(positionSlot(formattedOffset(kMaxDistance + 1)) == kPositionSlots);
static_assert(slotBase(31) == 49152 && footerBits(31) == 14);
static_assert(slotBase(5) == 6 && positionSlot(7) == 5 && positionSlot(8) == 6);

} // namespace folvane::chm::lzx
