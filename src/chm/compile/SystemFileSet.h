#pragma once

#include "chm/itsf/ContainerWriter.h"
#include "chm/sitemap/SitemapText.h"
#include "chm/system/ContextIdFile.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

struct HhpProject;
class PageKeywords;
class StringTable;
class TopicTables;
struct KeywordEntry;

// A contents or index file as it goes into the help file.
struct SitemapFile {
    std::string name; // "/HH_KVEL.hhc"
    SitemapText text;
};

// A file of the compressed section that the compiler makes itself.
struct MadeFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// A page of the help file as a topic: what search results and history lists show.
struct PageTopic {
    std::string title; // UTF-8
    std::string link;  // from the root, as contents files write it
};

// Everything a compile adds besides the project's own files: #SYSTEM and #ITBITS stored
// as they are, the tables viewers read (#WINDOWS, #STRINGS, #TOPICS, #URLTBL, #URLSTR,
// #IDXHDR) and the contents and index files in the help file's code page. The topic
// tables and the strings close the stream: they name pages whose titles are known only
// once every page has been read.
class SystemFileSet {
public:
    struct Input {
        const HhpProject* project = nullptr;
        std::uint32_t lcid = 0;
        std::uint32_t codePage = 0;
        const SitemapFile* contents = nullptr;
        const SitemapFile* index = nullptr;
        // A topic of the project (home page, window fields) as a link from the root.
        std::function<std::string(std::string_view)> topicLink;
        // A "Local" value of a sitemap as a link from the root.
        std::function<std::string(const std::string&)> mapLocal;
        std::string outputStem;
        std::uint32_t timestamp = 0;
        std::uint64_t fileTime = 0;
        // Context help: IDs with the pages they open, links in UTF-8.
        std::vector<ContextLink> contextLinks;
        // The keywords pages define, for a binary index.
        const PageKeywords* pageKeywords = nullptr;
    };

    explicit SystemFileSet(const Input& input);
    ~SystemFileSet();

    std::vector<PlainFile> plain;
    std::vector<MadeFile> compressed;

    // #TOPICS, #URLTBL, #URLSTR and #STRINGS: the pages given, in order, then the other
    // pages of the contents; with them the binary contents and index when the project asks
    // for them, which point to topics. Call once, last.
    std::vector<MadeFile> closingFiles(const std::vector<PageTopic>& pages);
    // The names closingFiles() gives.
    std::vector<std::string> closingNames() const;
    // Keywords of the binary index that kept only as many topics as a block holds.
    std::size_t shortenedKeywords() const { return shortenedKeywords_; }

    static constexpr const char* kReservedNames[] = {"/#SYSTEM",
                                                     "/#ITBITS",
                                                     "/#WINDOWS",
                                                     "/#STRINGS",
                                                     "/#TOPICS",
                                                     "/#URLTBL",
                                                     "/#URLSTR",
                                                     "/#IDXHDR",
                                                     "/$FIftiMain",
                                                     "/#IVB",
                                                     "/#TOCIDX",
                                                     "/$WWKeywordLinks/BTree",
                                                     "/$WWKeywordLinks/Data",
                                                     "/$WWKeywordLinks/Map",
                                                     "/$WWKeywordLinks/Property"};

private:
    std::string inCodePage(std::string_view utf8) const;
    const PageKeywords& pageKeywords() const;
    void addSitemap(const SitemapFile& file);
    void addContextIds();
    void addKeywordFiles(const std::string& folder, const std::vector<KeywordEntry>& keywords,
                         std::vector<MadeFile>& out);
    void addTopics(const std::vector<PageTopic>& pages, std::vector<MadeFile>& out);
    void addIndexHeader();
    void addWindows();
    void addSystem();

    const Input& in_;
    std::unique_ptr<StringTable> strings_;
    bool binaryContents_ = false;
    bool binaryIndex_ = false;
    bool associativeLinks_ = false;
    std::size_t shortenedKeywords_ = 0;
};

} // namespace folvane::chm
