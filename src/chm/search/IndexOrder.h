#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folvane::chm {

// How the search index spells and orders its words. A word is stored in the help file's code
// page when that has every character, else as UTF-8; the words are sorted by that spelling
// with ASCII letters compared without case, as readers compare, then by the bytes, the
// text's list of a word before its title's; words a code page spells alike follow one another
// by their UTF-8 text.
class IndexOrder {
public:
    static std::string spelling(std::string_view utf8, std::uint32_t codePage);

    struct Key {
        std::string_view stored;
        bool title = false;
        std::string_view text;
    };
    static bool before(const Key& a, const Key& b);
    // Two words that a reader cannot tell apart.
    static bool sameEntry(const Key& a, const Key& b) { return a.stored == b.stored && a.title == b.title; }
};

} // namespace folvane::chm
