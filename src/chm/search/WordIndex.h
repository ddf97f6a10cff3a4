#pragma once

#include "chm/search/WordTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folvane::chm {

struct GroupedTerms;

// Every word of the indexed pages with the list of where it stands: for each page that
// holds it, the page's number and the word's positions, already in the bit code the
// search index stores. Pages come in order of their number.
class WordIndex {
public:
    // Root sizes of the scale-and-root codes: page number steps, position counts, position
    // steps. Any sizes read back; these keep typical lists short.
    static constexpr unsigned kDocumentRoot = 1;
    static constexpr unsigned kCountRoot = 1;
    static constexpr unsigned kLocationRoot = 4;

    struct Word {
        std::string text; // UTF-8, lower case
        bool title = false;
        std::uint32_t documents = 0;
        std::uint32_t lastDocument = 0;
        std::vector<std::uint8_t> locations;
    };

    void addPage(std::uint32_t document, const GroupedTerms& terms);

    const std::vector<Word>& words() const { return words_; }
    std::uint64_t occurrences() const { return occurrences_; }

private:
    WordTable table_;
    std::vector<Word> words_;
    std::uint64_t occurrences_ = 0;
};

} // namespace folvane::chm
