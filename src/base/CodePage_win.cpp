#include "base/CodePage.h"

#include "base/UnmappableText.h"
#include "base/Utf16.h"
#include "base/Utf8.h"

#include "base/WindowsApi_win.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace folvane {

namespace {

// Text converted in one call; only a piece that had unmappable characters goes character
// by character.
constexpr std::size_t kPieceUnits = 4096;

std::wstring toWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

// nullopt when some character had no equivalent. GB18030 maps everything and takes
// neither the flag nor the check.
std::optional<std::string> narrow(std::wstring_view wide, std::uint32_t codePage) {
    if (wide.empty())
        return std::string();
    if (wide.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const bool checked = codePage != CodePage::kGb18030;
    const DWORD flags = checked ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultPtr = checked ? &usedDefault : nullptr;
    const int units = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(codePage, flags, wide.data(), units, nullptr, 0, nullptr, usedDefaultPtr);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.data(), units, out.data(), size, nullptr, usedDefaultPtr) != size ||
        usedDefault)
        return std::nullopt;
    return out;
}

// UTF-16 units of the character starting at pos: 2 for a surrogate pair.
std::size_t characterUnits(std::wstring_view wide, std::size_t pos) {
    const wchar_t unit = wide[pos];
    if (unit >= 0xD800 && unit <= 0xDBFF && pos + 1 < wide.size() && wide[pos + 1] >= 0xDC00 && wide[pos + 1] <= 0xDFFF)
        return 2;
    return 1;
}

char32_t codePointOf(std::wstring_view character) {
    if (character.size() == 2)
        return 0x10000 + ((static_cast<char32_t>(character[0]) - 0xD800) << 10) +
               (static_cast<char32_t>(character[1]) - 0xDC00);
    return static_cast<char32_t>(character[0]);
}

void narrowByCharacter(std::wstring_view wide, std::uint32_t codePage, CodePage::Unmappable unmappable,
                       std::string& out) {
    std::size_t pos = 0;
    while (pos < wide.size()) {
        const std::wstring_view character = wide.substr(pos, characterUnits(wide, pos));
        if (const std::optional<std::string> bytes = narrow(character, codePage))
            out += *bytes;
        else
            appendUnmappable(out, codePointOf(character), unmappable);
        pos += character.size();
    }
}

// Pieces end before a high surrogate so that no pair is split.
std::size_t pieceEnd(std::wstring_view wide, std::size_t start) {
    std::size_t end = std::min(wide.size(), start + kPieceUnits);
    if (end < wide.size() && end > start + 1 && wide[end - 1] >= 0xD800 && wide[end - 1] <= 0xDBFF)
        --end;
    return end;
}

std::optional<std::string> widenStrict(std::string_view bytes, std::uint32_t codePage) {
    if (bytes.empty())
        return std::string();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), size) != size)
        return std::nullopt;
    return Utf16::toUtf8(std::u16string(wide.begin(), wide.end()));
}

// The first 1 to 4 bytes that form a character (GB18030 has four-byte ones); U+FFFD for
// one byte when none do.
void widenByCharacter(std::string_view bytes, std::uint32_t codePage, std::string& out) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t taken = 0;
        for (std::size_t length = 1; length <= 4 && pos + length <= bytes.size() && taken == 0; ++length) {
            if (const std::optional<std::string> text = widenStrict(bytes.substr(pos, length), codePage)) {
                out += *text;
                taken = length;
            }
        }
        if (taken == 0) {
            Utf8::append(out, Utf8::kReplacement);
            taken = 1;
        }
        pos += taken;
    }
}

} // namespace

bool CodePage::supported(std::uint32_t codePage) {
    return codePage == kUtf8 || IsValidCodePage(codePage) != FALSE;
}

std::string CodePage::fromUtf8(std::string_view utf8, std::uint32_t codePage, Unmappable unmappable) {
    if (codePage == kUtf8 || !supported(codePage))
        return Utf8::sanitized(utf8);
    const std::wstring wide = toWide(Utf16::fromUtf8(utf8));
    const std::wstring_view all(wide);
    std::string out;
    out.reserve(utf8.size());
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = pieceEnd(all, start);
        const std::wstring_view piece = all.substr(start, end - start);
        if (const std::optional<std::string> bytes = narrow(piece, codePage))
            out += *bytes;
        else
            narrowByCharacter(piece, codePage, unmappable, out);
        start = end;
    }
    return out;
}

std::string CodePage::toUtf8(std::string_view bytes, std::uint32_t codePage) {
    if (codePage == kUtf8 || !supported(codePage))
        return Utf8::sanitized(bytes);
    if (std::optional<std::string> text = widenStrict(bytes, codePage))
        return std::move(*text);
    // Line by line, so that only lines with bad bytes go byte by byte: no code page here
    // uses a line feed as the second byte of a character.
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t newline = bytes.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? bytes.size() : newline + 1;
        const std::string_view line = bytes.substr(start, end - start);
        if (const std::optional<std::string> text = widenStrict(line, codePage))
            out += *text;
        else
            widenByCharacter(line, codePage, out);
        start = end;
    }
    return out;
}

} // namespace folvane
