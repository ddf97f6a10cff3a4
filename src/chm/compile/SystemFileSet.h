#pragma once

#include "chm/itsf/ContainerWriter.h"
#include "chm/sitemap/SitemapText.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

struct HhpProject;
class StringTable;

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

// Everything a compile adds besides the project's own files: #SYSTEM and #ITBITS stored
// as they are, the tables viewers read (#WINDOWS, #STRINGS, #TOPICS, #URLTBL, #URLSTR,
// #IDXHDR) and the contents and index files in the help file's code page.
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
    };

    explicit SystemFileSet(const Input& input);

    std::vector<PlainFile> plain;
    std::vector<MadeFile> compressed;

    static constexpr const char* kReservedNames[] = {"/#SYSTEM", "/#ITBITS", "/#WINDOWS", "/#STRINGS",
                                                     "/#TOPICS", "/#URLTBL", "/#URLSTR",  "/#IDXHDR"};

private:
    std::string inCodePage(std::string_view utf8) const;
    void addSitemap(const SitemapFile& file);
    void addTopics();
    void addIndexHeader();
    void addWindows();
    void addSystem();

    const Input& in_;
    StringTable* strings_ = nullptr;
};

// "0x42560" or "198": the number, none when empty or not a number.
std::optional<std::uint32_t> parseNumber(std::string_view text);

} // namespace folvane::chm
