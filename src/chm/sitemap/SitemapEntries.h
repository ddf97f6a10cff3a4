#pragma once

#include "chm/sitemap/SitemapText.h"

#include <cstddef>
#include <vector>

namespace folvane::chm {

// An entry ("text/sitemap" object) of a contents or index file and the entry whose list
// holds it.
struct SitemapEntry {
    static constexpr std::size_t kTop = static_cast<std::size_t>(-1);
    const SitemapObject* object = nullptr;
    std::size_t parent = kTop; // an earlier entry, or kTop
};

// The entries in the order the file lists them. A list nested deeper than the one before
// it belongs to the entry just above it, as viewers show it; at most 64 levels.
std::vector<SitemapEntry> sitemapEntries(const SitemapText& text);

} // namespace folvane::chm
