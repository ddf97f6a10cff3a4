#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folvane::chm {

// A page as UTF-8: a byte-order mark decides; then the code page its <meta> declares,
// unless it is UTF-8 and the bytes are not; then UTF-8 if the bytes are valid UTF-8; then
// the fallback.
class PageCharset {
public:
    static std::string toUtf8(std::string_view bytes, std::uint32_t fallbackCodePage);
};

} // namespace folvane::chm
