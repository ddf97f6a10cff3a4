#include "chm/text/TextDecoding.h"

#include "base/CodePage.h"
#include "base/Utf16.h"
#include "base/Utf8.h"

namespace folvane::chm {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

} // namespace

DecodedText decodeText(std::string_view bytes, std::uint32_t fallbackCodePage) {
    // A byte-order mark says which encoding was meant, even where the bytes then go wrong.
    if (bytes.starts_with(kUtf8Bom))
        return {Utf8::sanitized(bytes.substr(kUtf8Bom.size())), true};
    // Windows editors save "Unicode" text as UTF-16 with a byte-order mark.
    if (bytes.starts_with(kUtf16LeBom))
        return {Utf16::bytesToUtf8(bytes.substr(2), Utf16::ByteOrder::LittleEndian), false};
    else if (bytes.starts_with(kUtf16BeBom))
        return {Utf16::bytesToUtf8(bytes.substr(2), Utf16::ByteOrder::BigEndian), false};
    if (Utf8::isValid(bytes))
        return {std::string(bytes), true};
    return {CodePage::toUtf8(bytes, fallbackCodePage), false, true};
}

bool isValidUtf8(std::string_view bytes) {
    return Utf8::isValid(bytes);
}

} // namespace folvane::chm
