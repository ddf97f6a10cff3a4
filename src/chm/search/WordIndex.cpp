#include "chm/search/WordIndex.h"

#include "chm/search/CodeRoots.h"
#include "chm/search/IndexOrder.h"
#include "chm/search/ScaleRootWriter.h"
#include "chm/search/WordRuns.h"

#include <algorithm>

namespace folvane::chm {

namespace {
// Enough words to tell the shape of a site's lists, few enough to hold in memory.
constexpr std::uint64_t kSampleOccurrences = 1u << 21;
// What the allocator adds to each block it hands out.
constexpr std::uint64_t kBlockOverhead = 16;
// The inline room of a std::string: longer texts take a block of their own.
constexpr std::size_t kInlineText = 15;
} // namespace

// The words in memory in IndexOrder.
class WordIndex::InMemory : public SortedWords {
public:
    InMemory(const std::vector<Word>& words, std::uint32_t codePage) : words_(words) {
        order_.reserve(words.size());
        for (std::uint32_t id = 0; id < words.size(); ++id)
            order_.push_back({IndexOrder::spelling(words[id].text, codePage), id});
        std::sort(order_.begin(), order_.end(),
                  [this](const Entry& a, const Entry& b) { return IndexOrder::before(key(a), key(b)); });
    }

    void rewind() override { next_ = 0; }

    bool next(SortedWord& word) override {
        if (next_ >= order_.size())
            return false;
        const Entry& e = order_[next_++];
        word = words_[e.id].sorted(e.stored);
        return true;
    }

private:
    struct Entry {
        std::string stored;
        std::uint32_t id;
    };

    IndexOrder::Key key(const Entry& e) const { return {e.stored, words_[e.id].title, words_[e.id].text}; }

    const std::vector<Word>& words_;
    std::vector<Entry> order_;
    std::size_t next_ = 0;
};

WordIndex::WordIndex() = default;

WordIndex::WordIndex(Limits limits) : limits_(std::move(limits)) {}

WordIndex::~WordIndex() = default;

std::size_t WordIndex::runs() const {
    return runs_ ? runs_->count() : 0;
}

void WordIndex::addPage(std::uint32_t document, GroupedTerms terms) {
    if (rootsChosen_) {
        encode(document, terms);
        return;
    }
    heldOccurrences_ += terms.positions.size();
    held_.push_back({document, std::move(terms)});
    if (heldOccurrences_ >= kSampleOccurrences)
        chooseRoots();
}

void WordIndex::finish() {
    if (!rootsChosen_)
        chooseRoots();
    if (runs_ && !words_.empty())
        spill();
}

std::unique_ptr<SortedWords> WordIndex::sorted() const {
    if (runs_)
        return runs_->merged();
    return std::make_unique<InMemory>(words_, limits_.codePage);
}

void WordIndex::chooseRoots() {
    CodeRoots documents;
    CodeRoots counts;
    CodeRoots locations;
    WordTable seen;
    std::vector<std::uint32_t> lastDocument;
    for (const HeldPage& page : held_) {
        for (const GroupedTerms::Term& term : page.terms.terms) {
            const WordTable::Found found = seen.insert(page.terms.word(term), term.title);
            if (found.added)
                lastDocument.push_back(0);
            documents.add(page.document - lastDocument[found.id]);
            lastDocument[found.id] = page.document;
            counts.add(term.positionCount);
            std::uint32_t last = 0;
            for (std::uint32_t i = 0; i < term.positionCount; ++i) {
                const std::uint32_t position = page.terms.positions[term.firstPosition + i];
                locations.add(position - last);
                last = position;
            }
        }
    }
    roots_ = {documents.best(), counts.best(), locations.best()};
    rootsChosen_ = true;
    for (const HeldPage& page : held_)
        encode(page.document, page.terms);
    held_.clear();
    held_.shrink_to_fit();
}

void WordIndex::encode(std::uint32_t document, const GroupedTerms& terms) {
    const std::vector<std::uint32_t>& positions = terms.positions;
    for (const GroupedTerms::Term& term : terms.terms) {
        const std::string_view text = terms.word(term);
        const WordTable::Found found = table_.insert(text, term.title);
        if (found.added) {
            words_.push_back({std::string(text), term.title, 0, document, 0, 0, {}});
            if (text.size() > kInlineText)
                wordBytes_ += text.size() + 1 + kBlockOverhead;
        }
        Word& word = words_[found.id];
        const std::size_t capacity = word.locations.capacity();
        {
            ScaleRootWriter out(word.locations);
            out.put(document - (word.documents == 0 ? 0 : word.lastDocument), roots_.document);
            out.put(term.positionCount, roots_.count);
            std::uint32_t last = 0;
            for (std::uint32_t i = 0; i < term.positionCount; ++i) {
                const std::uint32_t position = positions[term.firstPosition + i];
                out.put(position - last, roots_.location);
                last = position;
            }
        }
        wordBytes_ += word.locations.capacity() - capacity + (capacity == 0 ? kBlockOverhead : 0);
        word.lastDocument = document;
        ++word.documents;
        word.occurrences += term.positionCount;
    }
    // Room is kept for sorting the words when they go to a run.
    if (memoryInUse() > limits_.memoryBytes / 4 * 3)
        spill();
}

std::uint64_t WordIndex::memoryInUse() const {
    return words_.capacity() * sizeof(Word) + table_.memoryBytes() + wordBytes_;
}

void WordIndex::spill() {
    if (!runs_)
        runs_ = std::make_unique<WordRuns>(limits_.scratchFolder, roots_);
    {
        InMemory sorted(words_, limits_.codePage);
        runs_->add(sorted);
    }
    // Given back, not kept: the next pages may have fewer words.
    words_ = {};
    table_ = WordTable();
    wordBytes_ = 0;
}

} // namespace folvane::chm
