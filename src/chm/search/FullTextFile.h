#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace folvane::chm {

class WordIndex;

// $FIftiMain, the search index viewers read: a header, then the words in sorted leaf nodes,
// each word's location list just before the leaf that names it, and index nodes above the
// leaves with the root last. Words are stored in the help file's code page.
class FullTextFile {
public:
    struct Settings {
        std::uint32_t codePage = 0;
        std::uint32_t lcid = 0;
        std::uint32_t documents = 0;
        // Words left out (the project's stop list), as WordBreaker gives them; may be null.
        const std::unordered_set<std::string>* stopWords = nullptr;
    };

    static std::vector<std::uint8_t> make(const WordIndex& index, const Settings& settings);
};

} // namespace folvane::chm
