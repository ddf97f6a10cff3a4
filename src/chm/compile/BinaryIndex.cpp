#include "chm/compile/BinaryIndex.h"

#include "base/AsciiText.h"
#include "base/Utf16.h"
#include "chm/sitemap/SitemapEntries.h"
#include "chm/sitemap/SitemapText.h"
#include "chm/system/TopicTables.h"
#include "chm/text/LowerCase.h"

#include <algorithm>
#include <map>

namespace folvane::chm {

namespace {

std::u16string folded(std::u16string text) {
    for (char16_t& unit : text)
        unit = static_cast<char16_t>(lowerCase(unit));
    return text;
}

struct Keyword {
    std::u16string text; // this level's part
    std::u16string key;  // text folded, for sorting
    const SitemapObject* object = nullptr;
    std::vector<std::size_t> children;
    std::vector<const PageKeyword*> pages;
};

class IndexBuilder {
public:
    IndexBuilder(const EntryText& text, TopicTables& topics) : text_(text), topics_(topics) {}

    std::vector<KeywordEntry> build(const SitemapText* index, const std::vector<PageKeyword>& pageKeywords) {
        const std::vector<SitemapEntry> entries =
            index != nullptr ? sitemapEntries(*index) : std::vector<SitemapEntry>();
        std::vector<std::size_t> top;
        for (const SitemapEntry& entry : entries) {
            std::string name = entry.object->param("name");
            if (name.empty())
                name = entry.object->param("keyword");
            std::u16string part = Utf16::fromUtf8(shownName(name));
            keywords_.push_back({part, folded(part), entry.object, {}, {}});
            (entry.parent == SitemapEntry::kTop ? top : keywords_[entry.parent].children)
                .push_back(keywords_.size() - 1);
        }
        std::map<std::u16string, std::size_t> topByKey;
        for (const std::size_t k : top)
            topByKey.emplace(keywords_[k].key, k);
        for (const PageKeyword& page : pageKeywords) {
            const std::u16string part = Utf16::fromUtf8(page.text);
            const auto [known, added] = topByKey.emplace(folded(part), keywords_.size());
            if (added) {
                keywords_.push_back({part, known->first, nullptr, {}, {}});
                top.push_back(known->second);
            }
            keywords_[known->second].pages.push_back(&page);
        }
        emit(top, u"", 0);
        return std::move(out_);
    }

private:
    void emit(std::vector<std::size_t> level, const std::u16string& parent, std::uint16_t depth) {
        std::stable_sort(level.begin(), level.end(),
                         [this](std::size_t a, std::size_t b) { return keywords_[a].key < keywords_[b].key; });
        for (const std::size_t k : level) {
            const Keyword& keyword = keywords_[k];
            // A keyword without text would stop viewers reading the index; its sub-keywords take its place.
            if (keyword.text.empty()) {
                emit(keyword.children, parent, depth);
                continue;
            }
            KeywordEntry entry;
            entry.text = depth == 0 ? keyword.text : parent + u", " + keyword.text;
            entry.depth = depth;
            entry.shownFrom = depth == 0 ? 0 : static_cast<std::uint32_t>(parent.size() + 2);
            if (keyword.object != nullptr)
                entry.seeAlso = Utf16::fromUtf8(shownName(keyword.object->param("see also")));
            if (entry.seeAlso.empty() && keyword.object != nullptr)
                entry.topics = topicsOf(*keyword.object, keyword.text);
            for (const PageKeyword* page : keyword.pages) {
                const std::string title =
                    page->title.empty() ? page->link.substr(page->link.rfind('/') + 1) : page->title;
                entry.topics.push_back(topics_.topicOf(text_.inCodePage(title), text_.inCodePage(page->link)));
            }
            const std::u16string full = entry.text;
            out_.push_back(std::move(entry));
            emit(keyword.children, full, static_cast<std::uint16_t>(depth + 1));
        }
    }

    // A "Name" after the keyword's own titles the next "Local".
    std::vector<std::uint32_t> topicsOf(const SitemapObject& object, const std::u16string& keyword) {
        std::vector<std::uint32_t> topics;
        bool keywordRead = false;
        std::string title;
        for (const SitemapParam& p : object.params) {
            if (p.name == "name" && !keywordRead) {
                keywordRead = true;
            } else if (p.name == "name") {
                title = AsciiText::trimmed(p.value);
            } else if (p.name == "local" && !p.value.empty()) {
                const std::string shown = title.empty() ? Utf16::toUtf8(keyword) : title;
                topics.push_back(topics_.topicOf(text_.inCodePage(shown), text_.inCodePage(text_.link(p.value))));
                title.clear();
            }
        }
        return topics;
    }

    const EntryText& text_;
    TopicTables& topics_;
    std::vector<Keyword> keywords_;
    std::vector<KeywordEntry> out_;
};

} // namespace

std::vector<KeywordEntry> indexKeywords(const SitemapText* index, const std::vector<PageKeyword>& pageKeywords,
                                        const EntryText& text, TopicTables& topics) {
    return IndexBuilder(text, topics).build(index, pageKeywords);
}

} // namespace folvane::chm
