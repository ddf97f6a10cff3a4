#include "chm/text/Utf8.h"
#include "formats/CharacterReferences.h"

#include <cstdint>
#include <cstring>

namespace folvane::chm {

namespace {

std::uint8_t byteAt(std::string_view text, std::size_t pos) {
    return static_cast<std::uint8_t>(text[pos]);
}

bool isContinuation(std::uint8_t byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

Utf8::Decoded Utf8::decode(std::string_view text, std::size_t pos) {
    const std::uint8_t lead = byteAt(text, pos);
    if (lead < 0x80)
        return {lead, 1, true};
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return {};
    }
    if (text.size() - pos < length)
        return {};
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t next = byteAt(text, pos + i);
        if (!isContinuation(next))
            return {};
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return {};
    return {codePoint, length, true};
}

void Utf8::append(std::string& out, char32_t codePoint) {
    formats::appendUtf8(out, codePoint);
}

bool Utf8::isValid(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        // ASCII runs are most of a project's text: eight bytes at a time.
        std::uint64_t eight = 0;
        if (pos + 8 <= text.size() &&
            (std::memcpy(&eight, text.data() + pos, 8), (eight & 0x8080808080808080ull) == 0)) {
            pos += 8;
            continue;
        }
        if (byteAt(text, pos) < 0x80) {
            ++pos;
            continue;
        }
        const Decoded d = decode(text, pos);
        if (!d.valid)
            return false;
        pos += d.length;
    }
    return true;
}

std::string Utf8::sanitized(std::string_view text) {
    if (isValid(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const Decoded d = decode(text, pos);
        if (d.valid)
            out.append(text.substr(pos, d.length));
        else
            append(out, kReplacement);
        pos += d.length;
    }
    return out;
}

} // namespace folvane::chm
