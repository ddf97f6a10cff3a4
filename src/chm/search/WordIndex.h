#pragma once

#include "chm/search/PageTerms.h"
#include "chm/search/SortedWords.h"
#include "chm/search/WordTable.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace folvane::chm {

class WordRuns;

// Every word of the indexed pages with the list of where it stands: for each page that
// holds it, the page's number and the word's positions, in the bit code the search index
// stores. Pages come in order of their number. The code's root sizes suit the site: they
// are chosen from its first pages, which wait until then. Past its memory, the words so far
// go to a sorted run in a scratch file beside the output (WordRuns), and the index starts
// again empty; the runs are merged when the words are read.
class WordIndex {
public:
    using Roots = LocationRoots;

    struct Limits {
        std::uint64_t memoryBytes = std::numeric_limits<std::uint64_t>::max();
        std::uint32_t codePage = 0; // the help file's, which orders the words
        std::filesystem::path scratchFolder;
    };

    WordIndex();
    explicit WordIndex(Limits limits);
    ~WordIndex();
    WordIndex(const WordIndex&) = delete;
    WordIndex& operator=(const WordIndex&) = delete;

    void addPage(std::uint32_t document, GroupedTerms terms);
    // After the last page.
    void finish();

    // After finish(): every word in IndexOrder, valid while this index lives unchanged.
    std::unique_ptr<SortedWords> sorted() const;
    const Roots& roots() const { return roots_; }
    // Sorted runs written to the scratch file so far.
    std::size_t runs() const;

private:
    using Word = IndexWord;
    struct HeldPage {
        std::uint32_t document;
        GroupedTerms terms;
    };
    class InMemory;

    void chooseRoots();
    void encode(std::uint32_t document, const GroupedTerms& terms);
    std::uint64_t memoryInUse() const;
    void spill();

    Limits limits_;
    WordTable table_;
    std::vector<Word> words_;
    // Heap bytes of the words' texts and lists, beyond what words_ and table_ hold themselves.
    std::uint64_t wordBytes_ = 0;
    Roots roots_;
    bool rootsChosen_ = false;
    std::vector<HeldPage> held_;
    std::uint64_t heldOccurrences_ = 0;
    std::unique_ptr<WordRuns> runs_;
};

} // namespace folvane::chm
