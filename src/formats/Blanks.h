#pragma once

#include <string_view>

namespace folvane::formats {

// The blanks of the project formats: spaces and tabs, the same for every code page.
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
