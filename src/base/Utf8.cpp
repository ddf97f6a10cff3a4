#include "base/Utf8.h"

#include <cstdint>
#include <cstring>

namespace folvane {

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
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = kReplacement;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
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

} // namespace folvane
