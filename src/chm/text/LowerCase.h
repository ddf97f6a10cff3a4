#pragma once

namespace folvane::chm {

// The lower-case form of a letter, by the simple mappings of the Unicode character
// database; other characters unchanged.
char32_t lowerCase(char32_t c);

} // namespace folvane::chm
