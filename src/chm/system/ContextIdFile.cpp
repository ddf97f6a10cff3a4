#include "chm/system/ContextIdFile.h"

#include "chm/itsf/ByteWriter.h"
#include "chm/system/StringTable.h"

#include <algorithm>

namespace folvane::chm {

std::vector<std::uint8_t> contextIdFile(std::vector<ContextLink> links, StringTable& strings) {
    std::stable_sort(links.begin(), links.end(),
                     [](const ContextLink& a, const ContextLink& b) { return a.id < b.id; });
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.u32(static_cast<std::uint32_t>(links.size() * 8));
    for (const ContextLink& link : links) {
        w.u32(link.id);
        w.u32(strings.add(link.link));
    }
    return out;
}

} // namespace folvane::chm
