#include "chm/search/WordBreaker.h"

#include "base/Utf8.h"
#include "chm/text/LowerCase.h"

namespace folvane::chm {

namespace {

bool inRange(char32_t c, char32_t low, char32_t high) {
    return c >= low && c <= high;
}

bool isIdeograph(char32_t c) {
    return inRange(c, 0x3040, 0x30FF) || inRange(c, 0x31F0, 0x31FF) || inRange(c, 0x3400, 0x4DBF) ||
           inRange(c, 0x4E00, 0x9FFF) || inRange(c, 0xF900, 0xFAFF) || inRange(c, 0x20000, 0x3134F) ||
           inRange(c, 0xFF66, 0xFF9F) || c == 0x3005;
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
    if (c < 0x80)
        return asciiClass(static_cast<char>(c)) == AsciiClass::Other ? Kind::Separator : Kind::Letter;
    if (isIdeograph(c))
        return Kind::Ideograph;
    if (c == 0xAD || c == 0x200C || c == 0x200D || c == 0x2060 || c == 0xFEFF)
        return Kind::Ignorable;
    return isSeparator(c) ? Kind::Separator : Kind::Letter;
}

char32_t WordBreaker::lowered(char32_t c) {
    return lowerCase(c);
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
