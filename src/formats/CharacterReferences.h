#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace folvane::formats {

// Which "&...;" a context reads as a character; anything else stays as written.
enum class ReferenceRule {
    // Names in the program's own contents file: only "&quot;", which its writer makes of a
    // quote, so that every other text comes back exactly as typed.
    WrittenName,
    // Targets in a contents file: "&quot;" "&lt;" "&gt;" "&amp;", as a path is escaped.
    WrittenPath,
    // Param values of a contents or index file, as viewers read them: "&amp;" "&lt;" "&gt;"
    // "&quot;" "&apos;" "&nbsp;" and numeric references, each with its ';'.
    SitemapValue,
    // Page text, as browsers read it: numeric references with or without ';' (bad numbers as
    // U+FFFD), the HTML 4 names and "apos" with ';', and the Latin-1 names also without it
    // ("&copy 2003").
    PageText,
};

struct CharacterReference {
    char32_t codePoint = 0;
    std::size_t length = 0; // bytes from the '&' on
};

// The reference whose '&' is at text[amp]; nothing where the '&' is just a character.
std::optional<CharacterReference> characterReference(std::string_view text, std::size_t amp, ReferenceRule rule);

// Every reference of the UTF-8 text replaced by its character.
std::string decodeCharacterReferences(std::string_view utf8, ReferenceRule rule);

// A name or target as the program's own contents file writes it, appended to out: the rest
// as it stands, but a quote, which would end the value early (viewers then drop the entry
// and every one after it), as "&quot;", which WrittenName and WrittenPath read back.
void appendWrittenValue(std::string& out, std::string_view utf8);

} // namespace folvane::formats
