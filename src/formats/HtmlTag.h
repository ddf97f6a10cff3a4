#pragma once

#include <cstddef>
#include <string_view>

namespace folvane::formats {

// The inside of an HTML tag, split the way browsers split it: a quote opens a value only
// right after '=', so a stray quote does not swallow the rest of the page, while a '>'
// inside a quoted value does not end the tag.
class HtmlTag {
public:
    struct Attribute {
        std::string_view name;
        std::string_view value;
    };

    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    // Where the tag name that starts at pos ends: at a blank, '/' or '>'.
    static std::size_t nameEnd(std::string_view text, std::size_t pos);
    // Reads the attribute at or after pos and returns where the next one may start. At the
    // end of the tag the name is left empty and the position is past its '>' (or at the
    // end of text, for a tag the text cuts off).
    static std::size_t nextAttribute(std::string_view text, std::size_t pos, Attribute& attribute);
    // Past the '>' that closes the tag whose attributes start at pos.
    static std::size_t end(std::string_view text, std::size_t pos);
};

} // namespace folvane::formats
