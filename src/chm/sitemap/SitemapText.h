#pragma once

#include "base/CodePage.h"
#include "chm/sitemap/SitemapObject.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace folvane::chm {

// A contents or index file (HTML sitemap) in its own bytes, read as formats::scanSitemap
// reads it; only the values are decoded.
class SitemapText {
public:
    static constexpr std::uint32_t kUtf8 = CodePage::kUtf8;

    // codePage: what the bytes are in, kUtf8 for UTF-8.
    explicit SitemapText(std::string bytes, std::uint32_t codePage = kUtf8);

    // Values in UTF-8.
    const std::vector<SitemapObject>& objects() const { return objects_; }

    // The file to store in the help file, in its code page: every param value written so
    // that any reader finds where it ends ('"', '<' and '>' as character references), every
    // "Local" value replaced by mapLocal(value) where that differs, and every name that
    // viewers show (Name, Keyword, See Also) as they show it: references decoded, blanks
    // around it dropped, characters the code page lacks approximated. The rest keeps its
    // bytes when the file is in that code page already.
    std::string stored(const std::function<std::string(const std::string&)>& mapLocal, std::uint32_t codePage) const;

private:
    void parse();
    std::string decoded(std::string_view raw) const;
    std::string converted(std::string_view raw, std::uint32_t codePage) const;

    std::string text_;
    std::uint32_t codePage_;
    std::vector<SitemapObject> objects_;
};

// The name a viewer shows for a value: without the white space around it.
std::string shownName(std::string_view utf8);

} // namespace folvane::chm
