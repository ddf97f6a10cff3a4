#include "base/AsciiText.h"

#include <charconv>
#include <cstring>

namespace folvane {

std::string AsciiText::lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = lower(c);
    return out;
}

bool AsciiText::isAscii(std::string_view text) {
    std::size_t pos = 0;
    for (std::uint64_t eight = 0; pos + 8 <= text.size(); pos += 8) {
        std::memcpy(&eight, text.data() + pos, 8);
        if ((eight & 0x8080808080808080ull) != 0)
            return false;
    }
    for (; pos < text.size(); ++pos) {
        if (static_cast<unsigned char>(text[pos]) >= 0x80)
            return false;
    }
    return true;
}

bool AsciiText::equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view AsciiText::trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return trimmedRight(text);
}

std::string_view AsciiText::trimmedRight(std::string_view text) {
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::uint32_t> AsciiText::number(std::string_view text) {
    const std::string_view t = trimmed(text);
    const bool hex = t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
    const char* begin = t.data() + (hex ? 2 : 0);
    const char* end = t.data() + t.size();
    std::uint32_t value = 0;
    const auto [p, error] = std::from_chars(begin, end, value, hex ? 16 : 10);
    if (t.empty() || error != std::errc() || p != end)
        return std::nullopt;
    return value;
}

} // namespace folvane
