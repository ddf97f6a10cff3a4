#include "chm/search/PageTerms.h"

#include <algorithm>

namespace folvane::chm {

namespace {

std::uint64_t hashOf(std::string_view word, bool title) {
    std::uint64_t h = title ? 0x9E3779B97F4A7C15ull : 0xCBF29CE484222325ull;
    for (const char c : word)
        h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    return h ^ (h >> 29);
}

} // namespace

void PageTerms::clear() {
    words_.clear();
    terms_.clear();
    occurrences_.clear();
    positions_.clear();
    hashes_.clear();
    std::fill(slots_.begin(), slots_.end(), 0);
}

void PageTerms::grow() {
    slots_.assign(slots_.size() * 2, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t t = 0; t < terms_.size(); ++t) {
        std::size_t slot = hashes_[t] & mask;
        while (slots_[slot] != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = t + 1;
    }
}

std::uint32_t PageTerms::termOf(std::string_view word, bool title) {
    const std::uint64_t hash = hashOf(word, title);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
        const std::uint32_t t = slots_[slot] - 1;
        if (hashes_[t] == hash && terms_[t].title == title && this->word(terms_[t]) == word)
            return t;
    }
    const auto t = static_cast<std::uint32_t>(terms_.size());
    terms_.push_back({static_cast<std::uint32_t>(words_.size()), static_cast<std::uint32_t>(word.size()), title, 0, 0});
    words_.append(word);
    hashes_.push_back(hash);
    slots_[slot] = t + 1;
    if (terms_.size() * 2 > slots_.size())
        grow();
    return t;
}

void PageTerms::add(std::string_view word, std::uint32_t position, bool title) {
    const std::uint32_t t = termOf(word, title);
    ++terms_[t].positionCount;
    occurrences_.push_back({t, position});
}

void PageTerms::group() {
    std::uint32_t next = 0;
    for (Term& term : terms_) {
        term.firstPosition = next;
        next += term.positionCount;
    }
    positions_.assign(next, 0);
    std::vector<std::uint32_t> filled(terms_.size(), 0);
    for (const Occurrence& o : occurrences_)
        positions_[terms_[o.term].firstPosition + filled[o.term]++] = o.position;
}

} // namespace folvane::chm
