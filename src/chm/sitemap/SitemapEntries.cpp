#include "chm/sitemap/SitemapEntries.h"

#include <utility>

namespace folvane::chm {

namespace {
// Deeper lists join the deepest level: no viewer shows more, and a hostile file cannot nest
// its way into a crash.
constexpr std::size_t kMaxLevels = 64;
} // namespace

std::vector<SitemapEntry> sitemapEntries(const SitemapText& text) {
    std::vector<SitemapEntry> entries;
    // The open entries from the top down, each with the depth of its list.
    std::vector<std::pair<int, std::size_t>> open;
    for (const SitemapObject& object : text.objects()) {
        if (object.type != "text/sitemap")
            continue;
        while (!open.empty() && open.back().first >= object.depth)
            open.pop_back();
        if (open.size() == kMaxLevels)
            open.pop_back();
        entries.push_back({&object, open.empty() ? SitemapEntry::kTop : open.back().second});
        open.emplace_back(object.depth, entries.size() - 1);
    }
    return entries;
}

} // namespace folvane::chm
