#pragma once

#include "chm/sitemap/SitemapObject.h"

#include <functional>
#include <string>
#include <vector>

namespace folvane::chm {

// A contents or index file (HTML sitemap) as UTF-8 text, read the forgiving way viewers
// read it: a quoted value ends at the last quote before the tag closes on its line, so a
// title that holds quotes or angle brackets stays whole.
class SitemapText {
public:
    explicit SitemapText(std::string utf8);

    const std::vector<SitemapObject>& objects() const { return objects_; }
    const std::string& text() const { return text_; }

    // The text to store in the help file: every param value written so that any reader
    // finds where it ends ('"', '<' and '>' as character references), and every "Local"
    // value replaced by mapLocal(value) where that differs. Everything else is kept.
    std::string stored(const std::function<std::string(const std::string&)>& mapLocal) const;

private:
    void parse();
    std::size_t parseObjectTag(std::size_t at);
    std::size_t parseParamTag(std::size_t at, SitemapObject& object);

    std::string text_;
    std::vector<SitemapObject> objects_;
};

// &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric references decoded; others kept.
std::string decodeCharacterReferences(std::string_view raw);

} // namespace folvane::chm
