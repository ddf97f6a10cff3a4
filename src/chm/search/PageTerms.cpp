#include "chm/search/PageTerms.h"

namespace folvane::chm {

void PageTerms::clear() {
    table_.clear();
    counts_.clear();
    occurrences_.clear();
}

void PageTerms::group(GroupedTerms& out) const {
    out.words.clear();
    out.terms.clear();
    out.terms.reserve(table_.size());
    std::uint32_t next = 0;
    for (std::uint32_t id = 0; id < table_.size(); ++id) {
        const std::string_view word = table_.word(id);
        out.terms.push_back({static_cast<std::uint32_t>(out.words.size()), static_cast<std::uint32_t>(word.size()),
                             table_.flag(id), next, counts_[id]});
        out.words.append(word);
        next += counts_[id];
    }
    out.positions.assign(next, 0);
    std::vector<std::uint32_t> filled(table_.size(), 0);
    for (const Occurrence& o : occurrences_)
        out.positions[out.terms[o.term].firstPosition + filled[o.term]++] = o.position;
}

} // namespace folvane::chm
