#pragma once

#include "chm/sitemap/SitemapText.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

class StringTable;
class TopicTables;

// How the help file writes what a sitemap entry says.
struct EntryText {
    // UTF-8 text in the help file's code page.
    std::function<std::string(std::string_view)> inCodePage;
    // A "Local" value as the link the help file stores.
    std::function<std::string(const std::string&)> link;
};

// #TOCIDX for a contents file with at least one entry. Every entry that opens a page gets
// a topic titled by its name, which is what viewers show for it, and the topic learns the
// entry's place.
std::vector<std::uint8_t> binaryContents(const SitemapText& contents, const EntryText& text, TopicTables& topics,
                                         StringTable& strings);

} // namespace folvane::chm
