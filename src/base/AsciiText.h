#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace folvane {

// Case and blanks in the ASCII range only: the same for every locale, and bytes of other
// UTF-8 characters are never touched.
class AsciiText {
public:
    static char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
    static bool isBlank(char c) { return c == ' ' || c == '\t'; }
    // Every byte below 0x80: eight at a time, since pages are mostly ASCII.
    static bool isAscii(std::string_view text);
    static std::string lowered(std::string_view text);
    static bool equalsIgnoringCase(std::string_view a, std::string_view b);
    // Without leading and trailing spaces and tabs.
    static std::string_view trimmed(std::string_view text);
    static std::string_view trimmedRight(std::string_view text);
    // "0x42560" or "198", blanks around allowed: the number, none when empty or not a number.
    static std::optional<std::uint32_t> number(std::string_view text);
};

} // namespace folvane
