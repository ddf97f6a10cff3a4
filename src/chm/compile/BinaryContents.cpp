#include "chm/compile/BinaryContents.h"

#include "chm/sitemap/SitemapEntries.h"
#include "chm/sitemap/SitemapText.h"
#include "chm/system/StringTable.h"
#include "chm/system/TocIndexFile.h"
#include "chm/system/TopicTables.h"

#include <unordered_set>

namespace folvane::chm {

std::vector<std::uint8_t> binaryContents(const SitemapText& contents, const EntryText& text, TopicTables& topics,
                                         StringTable& strings) {
    const std::vector<SitemapEntry> entries = sitemapEntries(contents);
    std::vector<TocNode> nodes;
    for (const SitemapEntry& entry : entries)
        nodes.push_back({entry.parent, !entry.object->param("local").empty()});
    const TocIndexFile file(nodes);
    std::vector<std::uint32_t> topicOrName;
    std::unordered_set<std::uint32_t> placed; // a topic two entries open keeps the first place
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string name = text.inCodePage(shownName(entries[i].object->param("name")));
        if (!nodes[i].hasTopic) {
            topicOrName.push_back(strings.add(name));
            continue;
        }
        const std::uint32_t topic =
            topics.titledTopic(name, text.inCodePage(text.link(entries[i].object->param("local"))));
        if (placed.insert(topic).second)
            topics.setContentsOffset(topic, file.offset(i));
        topicOrName.push_back(topic);
    }
    return file.bytes(topicOrName);
}

} // namespace folvane::chm
