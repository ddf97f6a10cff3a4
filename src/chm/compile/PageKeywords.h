#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// A keyword a page gives itself, UTF-8, with the page's title and link from the root.
struct PageKeyword {
    std::string text;
    std::string title;
    std::string link;
};

// The keywords pages define with the help control's sitemap object,
//   <OBJECT type="application/x-oleobject" classid="clsid:1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e">
//   <param name="Keyword" value="printing;paper">   (the index, KLinks)
//   <param name="ALink Name" value="Print dialog">   (associative links, ALinks)
// which the binary index holds beside the index file's.
class PageKeywords {
public:
    // bytes: a page as stored; codePage: for a page that declares no charset and is not UTF-8.
    void scan(std::string_view bytes, std::uint32_t codePage, const std::string& link);

    const std::vector<PageKeyword>& keywords() const { return keywords_; }
    const std::vector<PageKeyword>& associative() const { return associative_; }

private:
    std::vector<PageKeyword> keywords_;
    std::vector<PageKeyword> associative_;
};

} // namespace folvane::chm
