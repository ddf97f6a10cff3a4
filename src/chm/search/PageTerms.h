#pragma once

#include "chm/search/WordTable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// The words of one page, each once, with the positions where it stands: what a page adds
// to the search index.
struct GroupedTerms {
    struct Term {
        std::uint32_t wordOffset = 0;
        std::uint32_t wordLength = 0;
        bool title = false;
        std::uint32_t firstPosition = 0;
        std::uint32_t positionCount = 0;
    };

    std::string words;
    std::vector<Term> terms;
    std::vector<std::uint32_t> positions;

    std::string_view word(const Term& term) const { return {words.data() + term.wordOffset, term.wordLength}; }
};

// Collects the words of a page as they come, one page at a time; kept from page to page so
// that its tables need not grow again.
class PageTerms {
public:
    void clear();
    // A word of the page's text, or of its title; positions rise for each word.
    void add(std::string_view word, std::uint32_t position, bool title) {
        const WordTable::Found found = table_.insert(word, title);
        if (found.added)
            counts_.push_back(0);
        ++counts_[found.id];
        occurrences_.push_back({found.id, position});
    }
    // The terms with their positions put together.
    void group(GroupedTerms& out) const;
    // Bytes its tables hold, kept between pages.
    std::size_t memoryBytes() const {
        return table_.memoryBytes() + counts_.capacity() * sizeof(std::uint32_t) +
               occurrences_.capacity() * sizeof(Occurrence);
    }

private:
    struct Occurrence {
        std::uint32_t term;
        std::uint32_t position;
    };

    WordTable table_;
    std::vector<std::uint32_t> counts_;
    std::vector<Occurrence> occurrences_;
};

} // namespace folvane::chm
