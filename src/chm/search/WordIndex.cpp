#include "chm/search/WordIndex.h"

#include "chm/search/PageTerms.h"
#include "chm/search/ScaleRootWriter.h"

namespace folvane::chm {

WordIndex::Word& WordIndex::wordFor(std::string_view text, bool title) {
    Map& map = title ? title_ : body_;
    const auto found = map.find(text);
    if (found != map.end())
        return words_[found->second];
    map.emplace(std::string(text), static_cast<std::uint32_t>(words_.size()));
    Word& word = words_.emplace_back();
    word.text = std::string(text);
    word.title = title;
    return word;
}

void WordIndex::addPage(std::uint32_t document, const PageTerms& terms) {
    const std::vector<std::uint32_t>& positions = terms.positions();
    for (const PageTerms::Term& term : terms.terms()) {
        Word& word = wordFor(terms.word(term), term.title);
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
