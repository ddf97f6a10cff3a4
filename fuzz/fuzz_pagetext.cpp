// Page text: any bytes in any encoding give valid UTF-8 words with single spaces between
// them, never more text than the page holds, and a title only from a <title> tag.
#include "FuzzCheck.h"
#include "base/AsciiText.h"
#include "base/Utf8.h"
#include "chm/search/PageText.h"
#include "formats/TextDecoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

using namespace folvane;
using namespace folvane::chm;

namespace {

void checkText(std::string_view text) {
    FUZZ_CHECK(Utf8::isValid(text));
    FUZZ_CHECK(std::ranges::none_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }));
    FUZZ_CHECK(!text.starts_with(' ') && !text.ends_with(' '));
    FUZZ_CHECK(text.find("  ") == std::string_view::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the code page of a page that declares none and is not UTF-8.
    constexpr std::array<std::uint32_t, 4> codePages{936, 1252, 65001, 950};
    const std::uint32_t codePage = codePages[data[0] % codePages.size()];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const PageText page = extractPageText(bytes, codePage);
    checkText(page.title);
    checkText(page.body);

    const std::string decoded = formats::decodePage(bytes, codePage);
    FUZZ_CHECK(page.title.size() + page.body.size() <= decoded.size());
    FUZZ_CHECK(page.title.empty() || AsciiText::lowered(decoded).find("<title") != std::string::npos);
    return 0;
}
