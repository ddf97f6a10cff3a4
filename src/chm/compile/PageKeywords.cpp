#include "chm/compile/PageKeywords.h"

#include "base/AsciiText.h"
#include "chm/search/PageText.h"
#include "chm/sitemap/SitemapText.h"
#include "formats/TextDecoding.h"

namespace folvane::chm {

namespace {

// The object's type, lower case; pages that never name it need no closer look.
constexpr std::string_view kObjectType = "application/x-oleobject";

bool mentions(std::string_view bytes, std::string_view lowerWord) {
    for (std::size_t at = bytes.find_first_of("aA"); at != std::string_view::npos;
         at = bytes.find_first_of("aA", at + 1)) {
        if (AsciiText::equalsIgnoringCase(bytes.substr(at, lowerWord.size()), lowerWord))
            return true;
    }
    return false;
}

// "printing; paper;" as its names.
void addNames(std::string_view value, const PageKeyword& page, std::vector<PageKeyword>& out) {
    std::size_t at = 0;
    while (at <= value.size()) {
        const std::size_t end = std::min(value.find(';', at), value.size());
        const std::string_view name = AsciiText::trimmed(value.substr(at, end - at));
        if (!name.empty())
            out.push_back({std::string(name), page.title, page.link});
        at = end + 1;
    }
}

} // namespace

void PageKeywords::scan(std::string_view bytes, std::uint32_t codePage, const std::string& link) {
    if (!mentions(bytes, kObjectType))
        return;
    const SitemapText page(formats::decodePage(bytes, codePage));
    PageKeyword source{{}, {}, link};
    for (const SitemapObject& object : page.objects()) {
        if (object.type != kObjectType)
            continue;
        for (const SitemapParam& p : object.params) {
            if (p.name != "keyword" && p.name != "alink name")
                continue;
            if (source.title.empty())
                source.title = extractPageText(bytes, codePage).title;
            addNames(p.value, source, p.name == "keyword" ? keywords_ : associative_);
        }
    }
}

} // namespace folvane::chm
