#include "base/Utf16.h"

#include "base/Utf8.h"

#include <cstddef>
#include <cstdint>

namespace folvane {

namespace {

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Calls unitAt(i) for i < count; appends the characters the units form.
template <typename UnitAt> std::string unitsToUtf8(std::size_t count, UnitAt unitAt) {
    std::string out;
    out.reserve(count + count / 2);
    for (std::size_t i = 0; i < count; ++i) {
        const char32_t unit = unitAt(i);
        if (isHighSurrogate(unit) && i + 1 < count && isLowSurrogate(unitAt(i + 1))) {
            Utf8::append(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else {
            // Utf8::append turns a lone surrogate into U+FFFD.
            Utf8::append(out, unit);
        }
    }
    return out;
}

} // namespace

std::string Utf16::bytesToUtf8(std::string_view bytes, ByteOrder order) {
    const std::size_t high = order == ByteOrder::BigEndian ? 0 : 1;
    auto unitAt = [&](std::size_t i) {
        const auto hi = static_cast<std::uint8_t>(bytes[2 * i + high]);
        const auto lo = static_cast<std::uint8_t>(bytes[2 * i + 1 - high]);
        return static_cast<char32_t>((hi << 8) | lo);
    };
    std::string out = unitsToUtf8(bytes.size() / 2, unitAt);
    if (bytes.size() % 2 != 0)
        Utf8::append(out, Utf8::kReplacement);
    return out;
}

std::string Utf16::toUtf8(std::u16string_view text) {
    return unitsToUtf8(text.size(), [&](std::size_t i) { return static_cast<char32_t>(text[i]); });
}

std::u16string Utf16::fromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const Utf8::Decoded d = Utf8::decode(utf8, pos);
        const char32_t c = d.valid ? d.codePoint : Utf8::kReplacement;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        pos += d.length;
    }
    return out;
}

} // namespace folvane
