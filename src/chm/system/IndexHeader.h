#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace folvane::chm {

class StringTable;

// The "text/site properties" of a sitemap: how the viewer draws its list. Texts are in the
// help file's code page.
struct SiteProperties {
    std::string imageList;
    std::string font;
    std::string frameName;
    std::string windowName;
    bool folderImages = false;
    std::uint32_t background = 0;
    std::uint32_t foreground = 0;
    std::uint32_t windowStyles = 0;
    std::uint32_t exWindowStyles = 0;
};

// #IDXHDR: one 4 KiB block with the site properties and the number of sitemap entries.
std::vector<std::uint8_t> indexHeaderFile(const SiteProperties& properties, std::uint32_t entries,
                                          std::uint32_t timestamp, StringTable& strings);

} // namespace folvane::chm
