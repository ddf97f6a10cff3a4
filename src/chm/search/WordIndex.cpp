#include "chm/search/WordIndex.h"

#include "chm/search/PageTerms.h"
#include "chm/search/ScaleRootWriter.h"

namespace folvane::chm {

void WordIndex::addPage(std::uint32_t document, const GroupedTerms& terms) {
    const std::vector<std::uint32_t>& positions = terms.positions;
    for (const GroupedTerms::Term& term : terms.terms) {
        const std::string_view text = terms.word(term);
        const WordTable::Found found = table_.insert(text, term.title);
        if (found.added)
            words_.push_back({std::string(text), term.title, 0, 0, {}});
        Word& word = words_[found.id];
        ScaleRootWriter out(word.locations);
        out.put(document - (word.documents == 0 ? 0 : word.lastDocument), kDocumentRoot);
        out.put(term.positionCount, kCountRoot);
        std::uint32_t last = 0;
        for (std::uint32_t i = 0; i < term.positionCount; ++i) {
            const std::uint32_t position = positions[term.firstPosition + i];
            out.put(position - last, kLocationRoot);
            last = position;
        }
        word.lastDocument = document;
        ++word.documents;
        occurrences_ += term.positionCount;
    }
}

} // namespace folvane::chm
