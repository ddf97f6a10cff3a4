#include "base/UnmappableText.h"

namespace folvane {

namespace {

// What a reader would take for the character anyway; never a quote or anything else that
// ends a value.
const char* approximation(char32_t c) {
    if (c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000)
        return " ";
    if ((c >= 0x2010 && c <= 0x2015) || c == 0x2212 || c == 0xFE63 || c == 0xFF0D)
        return "-";
    if (c == 0x2018 || c == 0x2019 || c == 0x201A || c == 0x2032)
        return "'";
    if (c == 0x2026)
        return "...";
    return nullptr;
}

} // namespace

void appendUnmappable(std::string& out, char32_t codePoint, CodePage::Unmappable unmappable) {
    if (unmappable == CodePage::Unmappable::Question) {
        out += '?';
        return;
    }
    if (unmappable == CodePage::Unmappable::Approximation) {
        if (const char* similar = approximation(codePoint)) {
            out += similar;
            return;
        }
    }
    out += "&#";
    out += std::to_string(static_cast<unsigned long>(codePoint));
    out += ';';
}

} // namespace folvane
