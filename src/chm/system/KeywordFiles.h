#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace folvane::chm {

// A keyword of the binary index. A sub-keyword is written whole, "colours, red", with the
// depth and the place where the part the index shows under its parent starts.
struct KeywordEntry {
    std::u16string text;
    std::uint16_t depth = 0;
    std::uint32_t shownFrom = 0; // in UTF-16 units
    // A see-also entry names another keyword instead of topics.
    std::u16string seeAlso;
    std::vector<std::uint32_t> topics; // #TOPICS indexes
};

// The four files of a binary index ($WWKeywordLinks/ or $WWAssociativeLinks/).
struct KeywordFiles {
    // A header, 2 KiB listing blocks holding the keywords in order, then the levels of
    // index blocks above them up to the root.
    std::vector<std::uint8_t> btree;
    // A record per keyword; listing entries point to it.
    std::vector<std::uint8_t> data;
    // The first keyword of each listing block.
    std::vector<std::uint8_t> map;
    std::vector<std::uint8_t> property;
    // Keywords that had more topics than a block holds kept the first ones.
    std::size_t shortened = 0;
};

// keywords in the order the index lists them.
KeywordFiles keywordFiles(const std::vector<KeywordEntry>& keywords, std::uint32_t codePage, std::uint32_t lcid);

} // namespace folvane::chm
