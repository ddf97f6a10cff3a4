#include "formats/TextDecoding.h"

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Utf16.h"
#include "base/Utf8.h"
#include "formats/DeclaredCharset.h"

#include <algorithm>
#include <optional>

namespace folvane::formats {

namespace {

using Form = TextEncoding::Form;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
// Windows editors save "Unicode" text as UTF-16 with a byte-order mark.
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::optional<TextEncoding> markedEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark))
        return TextEncoding{Form::Utf8, 0, kUtf8Mark.size()};
    if (bytes.starts_with(kUtf16LeMark))
        return TextEncoding{Form::Utf16LittleEndian, 0, kUtf16LeMark.size()};
    if (bytes.starts_with(kUtf16BeMark))
        return TextEncoding{Form::Utf16BigEndian, 0, kUtf16BeMark.size()};
    return std::nullopt;
}

} // namespace

TextEncoding projectTextEncoding(std::string_view bytes, std::uint32_t fallbackCodePage) {
    if (const std::optional<TextEncoding> marked = markedEncoding(bytes))
        return *marked;
    return {Form::Utf8, fallbackCodePage, 0};
}

TextEncoding pageTextEncoding(std::string_view bytes, std::uint32_t fallbackCodePage) {
    if (const std::optional<TextEncoding> marked = markedEncoding(bytes))
        return *marked;
    // Every code page a page may declare here writes ASCII as ASCII.
    if (AsciiText::isAscii(bytes))
        return {Form::Utf8, fallbackCodePage, 0};
    std::optional<std::uint32_t> codePage = declaredCodePage(bytes);
    if (codePage == CodePage::kGb18030 && !CodePage::supported(CodePage::kGb18030))
        codePage = CodePage::kGbk;
    if (!codePage || *codePage == CodePage::kUtf8 || !CodePage::supported(*codePage))
        return projectTextEncoding(bytes, fallbackCodePage);
    return {Form::CodePage, *codePage, 0};
}

std::string toUtf8(std::string_view bytes, const TextEncoding& encoding) {
    const std::string_view text = bytes.substr(std::min(encoding.markLength, bytes.size()));
    switch (encoding.form) {
    case Form::Utf8:
        if (encoding.markLength > 0)
            return Utf8::sanitized(text);
        if (Utf8::isValid(text))
            return std::string(text);
        break;
    case Form::Utf16LittleEndian:
        return Utf16::bytesToUtf8(text, Utf16::ByteOrder::LittleEndian);
    case Form::Utf16BigEndian:
        return Utf16::bytesToUtf8(text, Utf16::ByteOrder::BigEndian);
    case Form::CodePage:
        break;
    }
    return CodePage::toUtf8(text, encoding.codePage);
}

DecodedText decodeText(std::string_view bytes, std::uint32_t fallbackCodePage) {
    TextEncoding encoding = projectTextEncoding(bytes, fallbackCodePage);
    if (encoding.form == Form::Utf8 && encoding.markLength == 0 && !Utf8::isValid(bytes))
        encoding.form = Form::CodePage;
    return {toUtf8(bytes, encoding), encoding.form == Form::Utf8, encoding.form == Form::CodePage};
}

std::string decodePage(std::string_view bytes, std::uint32_t fallbackCodePage) {
    return toUtf8(bytes, pageTextEncoding(bytes, fallbackCodePage));
}

} // namespace folvane::formats
