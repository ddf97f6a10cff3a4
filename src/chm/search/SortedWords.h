#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// Root sizes of the scale-and-root codes of a location list: page number steps, position
// counts and position steps.
struct LocationRoots {
    unsigned document = 1;
    unsigned count = 1;
    unsigned location = 4;
};

// A word of the search index with its whole location list.
struct SortedWord {
    std::string_view stored; // as the index stores it (IndexOrder::spelling)
    std::string_view text;   // UTF-8
    bool title = false;
    std::uint32_t documents = 0; // pages that hold it
    std::uint32_t firstDocument = 0;
    std::uint32_t lastDocument = 0;
    std::uint64_t occurrences = 0;
    std::span<const std::uint8_t> locations;
};

// A word with its location list, owned, as the index gathers it.
struct IndexWord {
    std::string text; // UTF-8, lower case
    bool title = false;
    std::uint32_t documents = 0;
    std::uint32_t firstDocument = 0;
    std::uint32_t lastDocument = 0;
    std::uint64_t occurrences = 0;
    std::vector<std::uint8_t> locations;

    SortedWord sorted(std::string_view stored) const {
        return {stored, text, title, documents, firstDocument, lastDocument, occurrences, locations};
    }
};

// The index's words in IndexOrder, one at a time, as often as asked.
class SortedWords {
public:
    virtual ~SortedWords() = default;
    // Back to the first word.
    virtual void rewind() = 0;
    // The next word; false after the last. A word stays valid through the following call,
    // so that a reader can look one word ahead.
    virtual bool next(SortedWord& word) = 0;
};

} // namespace folvane::chm
