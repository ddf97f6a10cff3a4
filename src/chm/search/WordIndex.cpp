#include "chm/search/WordIndex.h"

#include "chm/search/CodeRoots.h"
#include "chm/search/ScaleRootWriter.h"

namespace folvane::chm {

namespace {
// Enough words to tell the shape of a site's lists, few enough to hold in memory.
constexpr std::uint64_t kSampleOccurrences = 1u << 21;
} // namespace

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
        if (found.added)
            words_.push_back({std::string(text), term.title, 0, 0, 0, {}});
        Word& word = words_[found.id];
        ScaleRootWriter out(word.locations);
        out.put(document - (word.documents == 0 ? 0 : word.lastDocument), roots_.document);
        out.put(term.positionCount, roots_.count);
        std::uint32_t last = 0;
        for (std::uint32_t i = 0; i < term.positionCount; ++i) {
            const std::uint32_t position = positions[term.firstPosition + i];
            out.put(position - last, roots_.location);
            last = position;
        }
        word.lastDocument = document;
        ++word.documents;
        word.occurrences += term.positionCount;
    }
}

} // namespace folvane::chm
