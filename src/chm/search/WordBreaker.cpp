#include "chm/search/WordBreaker.h"

#include "chm/text/Utf8.h"

namespace folvane::chm {

namespace {

bool inRange(char32_t c, char32_t low, char32_t high) {
    return c >= low && c <= high;
}

bool isIdeograph(char32_t c) {
    return inRange(c, 0x3040, 0x30FF) || inRange(c, 0x31F0, 0x31FF) || inRange(c, 0x3400, 0x4DBF) ||
           inRange(c, 0x4E00, 0x9FFF) || inRange(c, 0xF900, 0xFAFF) || inRange(c, 0x20000, 0x3134F) || c == 0x3005;
}

// Spaces, punctuation and symbols outside ASCII: what lies between words.
bool isSeparator(char32_t c) {
    if (c < 0xC0)
        return c != 0xAA && c != 0xB5 && c != 0xBA;
    return c == 0xD7 || c == 0xF7 || inRange(c, 0x2000, 0x2BFF) || inRange(c, 0x2E00, 0x2E7F) ||
           inRange(c, 0x3000, 0x303F) || inRange(c, 0xE000, 0xF8FF) || inRange(c, 0xFE10, 0xFE6F) ||
           inRange(c, 0xFF00, 0xFF0F) || inRange(c, 0xFF1A, 0xFF20) || inRange(c, 0xFF3B, 0xFF40) ||
           inRange(c, 0xFF5B, 0xFF65) || inRange(c, 0xFFF0, 0xFFFF) || inRange(c, 0x1F000, 0x1FAFF);
}

} // namespace

WordBreaker::Kind WordBreaker::kindOf(char32_t c) {
    if (c < 0x80) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        return letter ? Kind::Letter : Kind::Separator;
    }
    if (isIdeograph(c))
        return Kind::Ideograph;
    return isSeparator(c) ? Kind::Separator : Kind::Letter;
}

char32_t WordBreaker::lowered(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    if (inRange(c, 0xC0, 0xDE) && c != 0xD7)
        return c + 0x20;
    if (inRange(c, 0x100, 0x137) || inRange(c, 0x14A, 0x177) || inRange(c, 0x1A0, 0x1A5) || inRange(c, 0x1DE, 0x1EF) ||
        inRange(c, 0x1F8, 0x24F) || inRange(c, 0x3D8, 0x3EF) || inRange(c, 0x460, 0x481) || inRange(c, 0x48A, 0x4BF) ||
        inRange(c, 0x4D0, 0x52F) || inRange(c, 0x1E00, 0x1E95) || inRange(c, 0x1EA0, 0x1EFF))
        return (c % 2 == 0) ? c + 1 : c;
    if (inRange(c, 0x139, 0x148) || inRange(c, 0x179, 0x17E) || inRange(c, 0x4C1, 0x4CE))
        return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x178)
        return 0xFF;
    if (inRange(c, 0x391, 0x3AB) && c != 0x3A2)
        return c + 0x20;
    if (inRange(c, 0x410, 0x42F))
        return c + 0x20;
    if (inRange(c, 0x400, 0x40F))
        return c + 0x50;
    if (inRange(c, 0x531, 0x556))
        return c + 0x30;
    if (inRange(c, 0xFF21, 0xFF3A))
        return c + 0x20;
    return c;
}

char32_t WordBreaker::decodeAt(std::string_view text, std::size_t& pos) {
    const Utf8::Decoded d = Utf8::decode(text, pos);
    pos += d.length;
    return d.codePoint;
}

void WordBreaker::append(std::string& out, char32_t c) {
    Utf8::append(out, c);
}

} // namespace folvane::chm
