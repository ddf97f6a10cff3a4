#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace folvane::chm {

// The encoding a page is written in, and the page as UTF-8.
class PageCharset {
public:
    // The Windows code page for a charset label ("gbk", "Shift_JIS", "iso-8859-2" ...).
    static std::optional<std::uint32_t> codePageOfLabel(std::string_view label);
    // The code page a <meta> near the start of the page declares, where it names one we know.
    static std::optional<std::uint32_t> declared(std::string_view bytes);
    // A byte-order mark decides; then a declared code page, unless it is UTF-8 and the
    // bytes are not; then UTF-8 if the bytes are valid UTF-8; then the fallback.
    static std::string toUtf8(std::string_view bytes, std::uint32_t fallbackCodePage);
};

} // namespace folvane::chm
