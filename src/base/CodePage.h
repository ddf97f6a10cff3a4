#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folvane {

// Conversion between UTF-8 and a Windows code page (936, 950, 932, 949, 1252, 65001 ...).
class CodePage {
public:
    // The code pages the program's rules name.
    static constexpr std::uint32_t kUtf8 = 65001;
    static constexpr std::uint32_t kGbk = 936;
    static constexpr std::uint32_t kGb18030 = 54936;

    // What to put in place of a character the code page lacks.
    enum class Unmappable {
        Question,         // "?"
        NumericReference, // "&#N;" with N the character's code point, for HTML text
        // A character that looks the same where there is an obvious one (a space for a
        // no-break space, "-" for a dash), else "&#N;": for names people read.
        Approximation,
    };

    // Whether this system can convert to and from the code page.
    static bool supported(std::uint32_t codePage);
    // utf8 must be valid UTF-8. Unsupported code pages give the UTF-8 unchanged.
    static std::string fromUtf8(std::string_view utf8, std::uint32_t codePage, Unmappable unmappable);
    // Bytes that are not valid in the code page become U+FFFD.
    static std::string toUtf8(std::string_view bytes, std::uint32_t codePage);
};

} // namespace folvane
