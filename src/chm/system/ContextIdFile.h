#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace folvane::chm {

class StringTable;

// A context ID and the page it opens: a link from the root in the help file's code page.
struct ContextLink {
    std::uint32_t id = 0;
    std::string link;
};

// #IVB: the byte count of the pairs that follow, then for each ID in rising order the ID
// and the #STRINGS offset of its page, which help viewers open for that ID.
std::vector<std::uint8_t> contextIdFile(std::vector<ContextLink> links, StringTable& strings);

} // namespace folvane::chm
