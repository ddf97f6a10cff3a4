#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace folvane::formats {

// <param name="..." value="...">: both as written, views into the text.
struct SitemapRawParam {
    std::string_view name;
    std::string_view value;
    std::size_t begin = 0; // where value lies in the text
};

// <OBJECT type="..."> with the params that have a value, in order.
struct SitemapRawObject {
    std::string_view type;
    std::vector<SitemapRawParam> params;
    // How many lists (<UL>) hold it: 1 at the top of a contents or index file.
    int depth = 0;
};

// The objects of a contents or index file (HTML sitemap), read the forgiving way viewers
// read it: tags and attributes in any case and order, quotes double, single or none,
// comments passed over, "</OBJECT>" optional. A double-quoted value after the param's name
// ends at the last quote before the tag closes on its line, so a title that holds quotes or
// angle brackets stays whole. The markup is ASCII, which no character of an ANSI code page
// hides, so text may be in any of them.
std::vector<SitemapRawObject> scanSitemap(std::string_view text);

} // namespace folvane::formats
