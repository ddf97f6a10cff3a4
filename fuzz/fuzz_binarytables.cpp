// Context help and binary tables from hostile project text: [MAP] and [ALIAS] lines (each
// #include reading the same text again) pair without a crash, and any index or contents
// text gives a binary index whose blocks are whole and a binary contents whose entries lie
// in the file.
#include "FuzzCheck.h"
#include "base/Utf8.h"
#include "chm/compile/BinaryContents.h"
#include "chm/compile/BinaryIndex.h"
#include "chm/project/ContextIdReader.h"
#include "chm/system/StringTable.h"
#include "chm/system/TopicTables.h"

#include <cstdint>
#include <string>

using namespace folvane;
using namespace folvane::chm;

namespace {

std::vector<HhpLine> lines(const std::string& text) {
    std::vector<HhpLine> out;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        out.push_back({text.substr(at, end - at), out.size() + 1});
        at = end + 1;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = Utf8::sanitized(std::string_view(reinterpret_cast<const char*>(data), size));

    ContextIdReader reader("p.hhp", "/p/p.hhp", [&text](const std::string&, const std::string& written, std::string&) {
        return std::optional<IncludedText>(IncludedText{written, "/p/" + written, text});
    });
    for (const ContextTopic& topic : reader.read(lines(text), lines(text)))
        FUZZ_CHECK(!topic.topic.empty() && topic.place.line > 0);

    const SitemapText sitemap(text);
    StringTable strings;
    TopicTables topics(strings);
    const EntryText entryText{[](std::string_view utf8) { return std::string(utf8); },
                              [](const std::string& local) { return local; }};
    const std::vector<std::uint8_t> contents = binaryContents(sitemap, entryText, topics, strings);
    FUZZ_CHECK(contents.size() >= 0x1000);
    const KeywordFiles index = keywordFiles(indexKeywords(&sitemap, {}, entryText, topics), 936, 0x804);
    FUZZ_CHECK((index.btree.size() - 0x4C) % 2048 == 0);
    FUZZ_CHECK(index.data.size() % 13 == 0);
    return 0;
}
