#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// A reference to another file, as a page or style sheet writes it (character references
// decoded, UTF-8).
struct PageReference {
    std::string target;
    // A value that may or may not name a file (a <param> value): followed only when the
    // file exists, never reported as missing.
    bool quiet = false;
};

// The files a page or style sheet uses: href, src, background, <object data>, <param>
// values, url() and @import of style sheets, <style> blocks and style attributes. Scripts
// and comments are left alone. Each target once per file.
class PageReferences {
public:
    static std::vector<PageReference> ofHtml(std::string_view bytes, std::uint32_t fallbackCodePage);
    static std::vector<PageReference> ofStyleSheet(std::string_view bytes, std::uint32_t fallbackCodePage);
};

// Pages a reader renders, the ones the search index covers and whose links are followed.
bool isHtmlPageName(std::string_view name);
bool isStyleSheetName(std::string_view name);

} // namespace folvane::chm
