#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// The words of one page, each once, with the positions where it stands: what a page adds
// to the search index. Filled word by word, then grouped.
class PageTerms {
public:
    struct Term {
        std::uint32_t wordOffset = 0;
        std::uint32_t wordLength = 0;
        bool title = false;
        std::uint32_t firstPosition = 0; // into positions(), after group()
        std::uint32_t positionCount = 0;
    };

    void clear();
    // A word of the page's text, or of its title; positions rise for each word.
    void add(std::string_view word, std::uint32_t position, bool title);
    // Puts the positions of each term together; call once, after the last add().
    void group();

    const std::vector<Term>& terms() const { return terms_; }
    std::string_view word(const Term& term) const { return {words_.data() + term.wordOffset, term.wordLength}; }
    const std::vector<std::uint32_t>& positions() const { return positions_; }
    std::size_t occurrences() const { return occurrences_.size(); }

private:
    struct Occurrence {
        std::uint32_t term;
        std::uint32_t position;
    };

    std::uint32_t termOf(std::string_view word, bool title);
    void grow();

    std::string words_;
    std::vector<Term> terms_;
    std::vector<Occurrence> occurrences_;
    std::vector<std::uint32_t> positions_;
    // Open addressing: term index + 1, 0 for a free slot.
    std::vector<std::uint32_t> slots_ = std::vector<std::uint32_t>(256, 0);
    std::vector<std::uint64_t> hashes_;
};

} // namespace folvane::chm
