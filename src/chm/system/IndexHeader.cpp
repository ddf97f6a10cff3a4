#include "chm/system/IndexHeader.h"

#include "chm/itsf/ByteWriter.h"
#include "chm/system/StringTable.h"

namespace folvane::chm {

std::vector<std::uint8_t> indexHeaderFile(const SiteProperties& p, std::uint32_t entries, std::uint32_t timestamp,
                                          StringTable& strings) {
    std::vector<std::uint8_t> out;
    out.reserve(0x1000);
    ByteWriter w(out);
    w.text("T#SM");
    w.u32(timestamp);
    w.u32(1);
    w.u32(entries);
    w.u32(0);
    w.u32(strings.add(p.imageList));
    w.u32(0);
    w.u32(p.folderImages ? 1 : 0);
    w.u32(p.background);
    w.u32(p.foreground);
    w.u32(strings.add(p.font));
    w.u32(p.windowStyles);
    w.u32(p.exWindowStyles);
    w.u32(0);
    w.u32(strings.add(p.frameName));
    w.u32(strings.add(p.windowName));
    w.u32(0); // information types
    w.u32(1);
    w.u32(0); // merged files
    w.u32(0);
    out.resize(0x1000, 0);
    return out;
}

} // namespace folvane::chm
