#pragma once

#include "chm/search/PageTerms.h"
#include "chm/search/WordTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace folvane::chm {

// Every word of the indexed pages with the list of where it stands: for each page that
// holds it, the page's number and the word's positions, in the bit code the search index
// stores. Pages come in order of their number. The code's root sizes suit the site: they
// are chosen from its first pages, which wait until then.
class WordIndex {
public:
    // Root sizes of the scale-and-root codes of page number steps, position counts and
    // position steps.
    struct Roots {
        unsigned document = 1;
        unsigned count = 1;
        unsigned location = 4;
    };

    struct Word {
        std::string text; // UTF-8, lower case
        bool title = false;
        std::uint32_t documents = 0;
        std::uint32_t lastDocument = 0;
        std::uint64_t occurrences = 0;
        std::vector<std::uint8_t> locations;
    };

    void addPage(std::uint32_t document, GroupedTerms terms);
    // After the last page.
    void finish();

    const std::vector<Word>& words() const { return words_; }
    const Roots& roots() const { return roots_; }

private:
    struct HeldPage {
        std::uint32_t document;
        GroupedTerms terms;
    };

    void chooseRoots();
    void encode(std::uint32_t document, const GroupedTerms& terms);

    WordTable table_;
    std::vector<Word> words_;
    Roots roots_;
    bool rootsChosen_ = false;
    std::vector<HeldPage> held_;
    std::uint64_t heldOccurrences_ = 0;
};

} // namespace folvane::chm
