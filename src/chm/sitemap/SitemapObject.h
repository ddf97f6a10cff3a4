#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// <param name="..." value="..."> inside an object of a contents or index file.
struct SitemapParam {
    std::string name;  // lower case
    std::string value; // character references decoded
    // Where the raw value lies in the text (without its quotes).
    std::size_t begin = 0;
    std::size_t end = 0;
};

// <OBJECT type="..."> with its params: "text/sitemap" for an entry, "text/site properties"
// for the look of the whole list.
struct SitemapObject {
    std::string type; // lower case
    std::vector<SitemapParam> params;
    // How many lists (<UL>) hold it: 1 at the top of a contents or index file.
    int depth = 0;

    // The first value of the param called name (lower case); empty when there is none.
    std::string param(std::string_view name) const;
};

} // namespace folvane::chm
