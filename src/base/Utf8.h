#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folvane {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
class Utf8 {
public:
    static constexpr char32_t kReplacement = 0xFFFD;

    struct Decoded {
        char32_t codePoint = kReplacement;
        // Bytes taken: the sequence's length, or 1 for a byte that starts no valid sequence.
        std::size_t length = 1;
        bool valid = false;
    };

    // The character starting at pos; pos must be inside text.
    static Decoded decode(std::string_view text, std::size_t pos);
    static void append(std::string& out, char32_t codePoint);
    static bool isValid(std::string_view text);
    // Valid UTF-8 unchanged; each byte that starts no valid sequence becomes U+FFFD.
    static std::string sanitized(std::string_view text);
};

} // namespace folvane
