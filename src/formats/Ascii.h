#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace folvane::formats {

// The markup of the project formats is ASCII: its case and blanks (spaces and tabs) are the
// same for every code page, and bytes of other characters are never touched.
inline char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string loweredAscii(std::string_view text) {
    std::string out(text);
    std::ranges::transform(out, out.begin(), lowerAscii);
    return out;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::string_view trimmedRightBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

inline std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return trimmedRightBlanks(text);
}

} // namespace folvane::formats
