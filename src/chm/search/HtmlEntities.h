#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace folvane::chm {

// The character an HTML named character reference stands for ("amp" for &amp;): the
// HTML 4 names and "apos". Names are case-sensitive.
std::optional<char32_t> namedEntity(std::string_view name);

struct CharacterReference {
    char32_t codePoint = 0;
    std::size_t length = 0; // bytes from the '&' on
};

// The reference whose '&' is at text[amp], read the way browsers read page text: numeric
// ones with or without ';' (bad numbers as U+FFFD), named ones with ';', and the Latin-1
// names also without it ("&copy 2003"). Nothing where the '&' is just a character.
std::optional<CharacterReference> characterReference(std::string_view text, std::size_t amp);

} // namespace folvane::chm
