#include "chm/search/PageCharset.h"

#include "base/CodePage.h"
#include "chm/text/TextDecoding.h"
#include "formats/DeclaredCharset.h"

#include <algorithm>
#include <optional>

namespace folvane::chm {

namespace {

constexpr std::uint32_t kUtf8 = CodePage::kUtf8;
constexpr std::uint32_t kGbk = CodePage::kGbk;
constexpr std::uint32_t kGb18030 = CodePage::kGb18030;

bool isAscii(std::string_view bytes) {
    return std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string PageCharset::toUtf8(std::string_view bytes, std::uint32_t fallbackCodePage) {
    if (bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return decodeText(bytes, fallbackCodePage).utf8;
    // Every code page a page may declare here writes ASCII as ASCII.
    if (isAscii(bytes))
        return std::string(bytes);
    std::optional<std::uint32_t> codePage = formats::declaredCodePage(bytes);
    if (codePage == kGb18030 && !CodePage::supported(kGb18030))
        codePage = kGbk;
    if (!codePage || *codePage == kUtf8 || !CodePage::supported(*codePage))
        return decodeText(bytes, fallbackCodePage).utf8;
    return CodePage::toUtf8(bytes, *codePage);
}

} // namespace folvane::chm
