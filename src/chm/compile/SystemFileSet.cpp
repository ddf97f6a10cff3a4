#include "chm/compile/SystemFileSet.h"

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Lcid.h"
#include "chm/compile/BinaryContents.h"
#include "chm/compile/BinaryIndex.h"
#include "chm/compile/PageKeywords.h"
#include "chm/project/HhpProject.h"
#include "chm/sitemap/SitemapEntries.h"
#include "chm/system/IndexHeader.h"
#include "chm/system/StringTable.h"
#include "chm/system/SystemFile.h"
#include "chm/system/TopicTables.h"
#include "chm/system/WindowsFile.h"
#include "formats/WindowFields.h"

#include <array>
#include <charconv>
#include <utility>

namespace folvane::chm {

namespace {

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// "[0,0,810,583]" as left, top, right and bottom.
std::optional<std::array<std::int32_t, 4>> parseRectangle(std::string_view text) {
    const std::string_view t = AsciiText::trimmed(text);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return std::nullopt;
    std::array<std::int32_t, 4> sides{};
    std::size_t at = 1;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t end = i < 3 ? t.find(',', at) : t.size() - 1;
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view part = AsciiText::trimmed(t.substr(at, end - at));
        const auto [p, error] = std::from_chars(part.data(), part.data() + part.size(), sides[i]);
        if (error != std::errc() || p != part.data() + part.size())
            return std::nullopt;
        at = end + 1;
    }
    return sides;
}

} // namespace

SystemFileSet::SystemFileSet(const Input& input) : in_(input), strings_(std::make_unique<StringTable>()) {
    const auto hasEntries = [](const SitemapFile* file) {
        return file != nullptr && !sitemapEntries(file->text).empty();
    };
    binaryContents_ = in_.project->binaryToc && hasEntries(in_.contents);
    binaryIndex_ = in_.project->binaryIndex && (hasEntries(in_.index) || !pageKeywords().keywords().empty());
    associativeLinks_ = in_.project->binaryIndex && !pageKeywords().associative().empty();
    if (in_.contents != nullptr)
        addSitemap(*in_.contents);
    if (in_.index != nullptr)
        addSitemap(*in_.index);
    addIndexHeader();
    addWindows();
    addContextIds();
    addSystem();
}

SystemFileSet::~SystemFileSet() = default;

std::vector<MadeFile> SystemFileSet::closingFiles(const std::vector<PageTopic>& pages) {
    std::vector<MadeFile> out;
    addTopics(pages, out);
    out.push_back({"/#STRINGS", strings_->bytes()});
    return out;
}

std::vector<std::string> SystemFileSet::closingNames() const {
    std::vector<std::string> names;
    if (binaryContents_)
        names.push_back("/#TOCIDX");
    for (const auto& [folder, present] :
         {std::pair{"/$WWKeywordLinks/", binaryIndex_}, {"/$WWAssociativeLinks/", associativeLinks_}}) {
        if (!present)
            continue;
        for (const char* file : {"BTree", "Data", "Map", "Property"})
            names.push_back(std::string(folder) + file);
    }
    names.insert(names.end(), {"/#TOPICS", "/#URLTBL", "/#URLSTR", "/#STRINGS"});
    return names;
}

const PageKeywords& SystemFileSet::pageKeywords() const {
    static const PageKeywords none;
    return in_.pageKeywords != nullptr ? *in_.pageKeywords : none;
}

std::string SystemFileSet::inCodePage(std::string_view utf8) const {
    return CodePage::fromUtf8(utf8, in_.codePage, CodePage::Unmappable::Question);
}

void SystemFileSet::addSitemap(const SitemapFile& file) {
    compressed.push_back({file.name, bytesOf(file.text.stored(in_.mapLocal, in_.codePage))});
}

void SystemFileSet::addContextIds() {
    if (in_.contextLinks.empty())
        return;
    std::vector<ContextLink> links = in_.contextLinks;
    for (ContextLink& link : links)
        link.link = inCodePage(link.link);
    compressed.push_back({"/#IVB", contextIdFile(std::move(links), *strings_)});
}

void SystemFileSet::addTopics(const std::vector<PageTopic>& pages, std::vector<MadeFile>& out) {
    TopicTables topics(*strings_);
    for (const PageTopic& page : pages)
        topics.add(inCodePage(page.title), inCodePage(page.link));
    const EntryText text{[this](std::string_view utf8) { return inCodePage(utf8); }, in_.mapLocal};
    if (binaryContents_) {
        out.push_back({"/#TOCIDX", binaryContents(in_.contents->text, text, topics, *strings_)});
    } else if (in_.contents != nullptr) {
        for (const SitemapObject& object : in_.contents->text.objects()) {
            const std::string local = object.param("local");
            if (object.type == "text/sitemap" && !local.empty())
                topics.add(inCodePage(shownName(object.param("name"))), inCodePage(in_.mapLocal(local)));
        }
    }
    const SitemapText* index = in_.index != nullptr ? &in_.index->text : nullptr;
    if (binaryIndex_)
        addKeywordFiles("/$WWKeywordLinks/", indexKeywords(index, pageKeywords().keywords(), text, topics), out);
    if (associativeLinks_)
        addKeywordFiles("/$WWAssociativeLinks/", indexKeywords(nullptr, pageKeywords().associative(), text, topics),
                        out);
    out.push_back({"/#TOPICS", topics.topics()});
    out.push_back({"/#URLTBL", topics.urlTable()});
    out.push_back({"/#URLSTR", topics.urlStrings()});
}

void SystemFileSet::addKeywordFiles(const std::string& folder, const std::vector<KeywordEntry>& keywords,
                                    std::vector<MadeFile>& out) {
    KeywordFiles files = keywordFiles(keywords, in_.codePage, in_.lcid);
    shortenedKeywords_ += files.shortened;
    out.push_back({folder + "BTree", std::move(files.btree)});
    out.push_back({folder + "Data", std::move(files.data)});
    out.push_back({folder + "Map", std::move(files.map)});
    out.push_back({folder + "Property", std::move(files.property)});
}

void SystemFileSet::addIndexHeader() {
    const SitemapFile* source = in_.index != nullptr ? in_.index : in_.contents;
    if (source == nullptr)
        return;
    SiteProperties properties;
    std::uint32_t entries = 0;
    for (const SitemapObject& object : source->text.objects()) {
        if (object.type == "text/sitemap") {
            ++entries;
            continue;
        }
        if (object.type != "text/site properties")
            continue;
        for (const SitemapParam& p : object.params) {
            if (p.name == "imagelist")
                properties.imageList = inCodePage(p.value);
            else if (p.name == "imagetype")
                properties.folderImages = p.value == "Folder";
            else if (p.name == "background")
                properties.background = AsciiText::number(p.value).value_or(0);
            else if (p.name == "foreground")
                properties.foreground = AsciiText::number(p.value).value_or(0);
            else if (p.name == "font")
                properties.font = inCodePage(p.value);
            else if (p.name == "window styles")
                properties.windowStyles = AsciiText::number(p.value).value_or(0);
            else if (p.name == "exwindow styles")
                properties.exWindowStyles = AsciiText::number(p.value).value_or(0);
            else if (p.name == "framename")
                properties.frameName = inCodePage(p.value);
            else if (p.name == "windowname")
                properties.windowName = inCodePage(p.value);
        }
    }
    compressed.push_back({"/#IDXHDR", indexHeaderFile(properties, entries, in_.timestamp, *strings_)});
}

void SystemFileSet::addWindows() {
    if (in_.project->windows.empty())
        return;
    std::vector<WindowDefinition> windows;
    for (const HhpWindow& source : in_.project->windows) {
        using formats::WindowField;
        const auto field = [&source](WindowField f) { return formats::windowField(source.fields, f); };
        const auto number = [&field](WindowField f) { return AsciiText::number(field(f)); };
        const auto link = [this, &field](WindowField f) { return inCodePage(in_.topicLink(field(f))); };
        WindowDefinition w;
        w.name = inCodePage(source.name);
        w.caption = inCodePage(field(WindowField::Caption));
        w.contentsFile = link(WindowField::ContentsFile);
        w.indexFile = link(WindowField::IndexFile);
        w.defaultFile = link(WindowField::DefaultFile);
        w.homeFile = link(WindowField::HomeFile);
        w.jump1Url = inCodePage(field(WindowField::Jump1Url));
        w.jump1Text = inCodePage(field(WindowField::Jump1Text));
        w.jump2Url = inCodePage(field(WindowField::Jump2Url));
        w.jump2Text = inCodePage(field(WindowField::Jump2Text));
        w.properties = number(WindowField::Properties);
        w.navigationWidth = number(WindowField::NavigationWidth);
        w.toolbarButtons = number(WindowField::ToolbarButtons);
        w.position = parseRectangle(field(WindowField::Position));
        w.style = number(WindowField::Style);
        w.extendedStyle = number(WindowField::ExtendedStyle);
        w.showState = number(WindowField::ShowState);
        w.navigationClosed = number(WindowField::NavigationClosed);
        w.defaultTab = number(WindowField::DefaultTab);
        w.tabPosition = number(WindowField::TabPosition);
        w.notifyId = number(WindowField::NotifyId);
        windows.push_back(std::move(w));
    }
    compressed.push_back({"/#WINDOWS", windowsFile(windows, *strings_)});
}

void SystemFileSet::addSystem() {
    const HhpProject& project = *in_.project;
    SystemInfo info;
    if (in_.contents != nullptr)
        info.contentsFile = inCodePage(in_.contents->name.substr(1));
    if (in_.index != nullptr)
        info.indexFile = inCodePage(in_.index->name.substr(1));
    info.defaultTopic = inCodePage(in_.topicLink(project.defaultTopic));
    info.title = inCodePage(project.title);
    info.defaultWindow = inCodePage(project.defaultWindow);
    info.defaultFont = inCodePage(project.defaultFont);
    info.compiledFileStem = inCodePage(in_.outputStem);
    info.lcid = in_.lcid;
    info.doubleByte = Lcid::isDoubleByte(in_.lcid);
    info.fullTextSearch = project.fullTextSearch;
    info.binaryContents = binaryContents_;
    info.binaryIndex = binaryIndex_;
    info.associativeLinks = associativeLinks_;
    info.timestamp = in_.timestamp;
    info.fileTime = in_.fileTime;
    plain.push_back({"/#ITBITS", {}});
    plain.push_back({"/#SYSTEM", systemFile(info)});
}

} // namespace folvane::chm
