#pragma once

#include "chm/search/SortedWords.h"

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace folvane::chm {

class FullTextSink;

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

    // Words a reader cannot tell apart (the same stored spelling and kind) are written once,
    // as the first of them.
    static void write(SortedWords& words, const LocationRoots& roots, const Settings& settings, FullTextSink& out);
};

} // namespace folvane::chm
