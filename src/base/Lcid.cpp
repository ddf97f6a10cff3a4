#include "base/Lcid.h"

#include "base/AsciiText.h"
#include "base/Utf8.h"

#include <array>

namespace folvane {

namespace {

struct Language {
    std::uint32_t lcid;
    std::string_view language;
    std::string_view territory;
    std::uint32_t ansiCodePage;
};

// The first entry of a language is its main territory.
constexpr std::array kLanguages{
    Language{0x0804, "zh", "CN", 936},  Language{0x0404, "zh", "TW", 950},  Language{0x0C04, "zh", "HK", 950},
    Language{0x1004, "zh", "SG", 936},  Language{0x1404, "zh", "MO", 950},  Language{0x0004, "zh", "", 936},
    Language{0x7C04, "zh", "", 950},    Language{0x0411, "ja", "JP", 932},  Language{0x0412, "ko", "KR", 949},
    Language{0x0409, "en", "US", 1252}, Language{0x0809, "en", "GB", 1252}, Language{0x0C09, "en", "AU", 1252},
    Language{0x1009, "en", "CA", 1252}, Language{0x1409, "en", "NZ", 1252}, Language{0x1809, "en", "IE", 1252},
    Language{0x1C09, "en", "ZA", 1252}, Language{0x4009, "en", "IN", 1252}, Language{0x0407, "de", "DE", 1252},
    Language{0x0C07, "de", "AT", 1252}, Language{0x0807, "de", "CH", 1252}, Language{0x040C, "fr", "FR", 1252},
    Language{0x080C, "fr", "BE", 1252}, Language{0x0C0C, "fr", "CA", 1252}, Language{0x100C, "fr", "CH", 1252},
    Language{0x0C0A, "es", "ES", 1252}, Language{0x080A, "es", "MX", 1252}, Language{0x2C0A, "es", "AR", 1252},
    Language{0x0410, "it", "IT", 1252}, Language{0x0810, "it", "CH", 1252}, Language{0x0416, "pt", "BR", 1252},
    Language{0x0816, "pt", "PT", 1252}, Language{0x0413, "nl", "NL", 1252}, Language{0x0813, "nl", "BE", 1252},
    Language{0x041D, "sv", "SE", 1252}, Language{0x081D, "sv", "FI", 1252}, Language{0x0406, "da", "DK", 1252},
    Language{0x0414, "nb", "NO", 1252}, Language{0x0414, "no", "NO", 1252}, Language{0x0814, "nn", "NO", 1252},
    Language{0x040B, "fi", "FI", 1252}, Language{0x040F, "is", "IS", 1252}, Language{0x0403, "ca", "ES", 1252},
    Language{0x042D, "eu", "ES", 1252}, Language{0x0421, "id", "ID", 1252}, Language{0x043E, "ms", "MY", 1252},
    Language{0x0419, "ru", "RU", 1251}, Language{0x0422, "uk", "UA", 1251}, Language{0x0423, "be", "BY", 1251},
    Language{0x0402, "bg", "BG", 1251}, Language{0x043F, "kk", "KZ", 1251}, Language{0x0415, "pl", "PL", 1250},
    Language{0x0405, "cs", "CZ", 1250}, Language{0x040E, "hu", "HU", 1250}, Language{0x041B, "sk", "SK", 1250},
    Language{0x0424, "sl", "SI", 1250}, Language{0x041A, "hr", "HR", 1250}, Language{0x0418, "ro", "RO", 1250},
    Language{0x0408, "el", "GR", 1253}, Language{0x041F, "tr", "TR", 1254}, Language{0x040D, "he", "IL", 1255},
    Language{0x0401, "ar", "SA", 1256}, Language{0x0C01, "ar", "EG", 1256}, Language{0x0429, "fa", "IR", 1256},
    Language{0x0420, "ur", "PK", 1256}, Language{0x0425, "et", "EE", 1257}, Language{0x0426, "lv", "LV", 1257},
    Language{0x0427, "lt", "LT", 1257}, Language{0x041E, "th", "TH", 874},  Language{0x042A, "vi", "VN", 1258},
};

constexpr std::uint32_t kDefaultCodePage = 1252;

// The language identifier without the sort order; its low ten bits are the primary language.
const Language* find(std::uint32_t lcid) {
    const std::uint32_t languageId = lcid & 0xFFFF;
    for (const Language& entry : kLanguages) {
        if (entry.lcid == languageId)
            return &entry;
    }
    for (const Language& entry : kLanguages) {
        if ((entry.lcid & 0x3FF) == (languageId & 0x3FF))
            return &entry;
    }
    return nullptr;
}

// The value of a digit in base 10 or 16; none for other characters.
std::optional<unsigned> digitValue(char c, unsigned base) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    const char l = AsciiText::lower(c);
    if (base == 16 && l >= 'a' && l <= 'f')
        return static_cast<unsigned>(l - 'a' + 10);
    return std::nullopt;
}

bool isCjk(char32_t c) {
    return (c >= 0x1100 && c <= 0x11FF)       // Hangul Jamo
           || (c >= 0x2E80 && c <= 0x2FDF)    // radicals
           || (c >= 0x3000 && c <= 0x33FF)    // punctuation, kana, bopomofo, enclosed and compatibility forms
           || (c >= 0x3400 && c <= 0x4DBF)    // extension A
           || (c >= 0x4E00 && c <= 0x9FFF)    // unified ideographs
           || (c >= 0xA960 && c <= 0xA97F)    // Hangul Jamo extended A
           || (c >= 0xAC00 && c <= 0xD7FF)    // Hangul syllables, Jamo extended B
           || (c >= 0xF900 && c <= 0xFAFF)    // compatibility ideographs
           || (c >= 0xFE30 && c <= 0xFE4F)    // compatibility forms
           || (c >= 0xFF00 && c <= 0xFFEF)    // half- and fullwidth forms
           || (c >= 0x1B000 && c <= 0x1B16F)  // kana supplement and extensions
           || (c >= 0x20000 && c <= 0x323AF); // extensions B to H, compatibility supplement
}

} // namespace

std::uint32_t Lcid::ansiCodePage(std::uint32_t lcid) {
    const Language* entry = find(lcid);
    return entry != nullptr ? entry->ansiCodePage : kDefaultCodePage;
}

bool Lcid::isDoubleByte(std::uint32_t lcid) {
    switch (ansiCodePage(lcid)) {
    case 932:
    case 936:
    case 949:
    case 950:
        return true;
    default:
        return false;
    }
}

std::optional<std::uint32_t> Lcid::fromLocaleName(std::string_view name) {
    // language[_territory][.codeset][@modifier]; Windows writes "zh-CN".
    name = name.substr(0, name.find_first_of(".@"));
    const std::size_t separator = name.find_first_of("_-");
    const std::string_view language = name.substr(0, separator);
    const std::string_view territory =
        separator == std::string_view::npos ? std::string_view() : name.substr(separator + 1);
    if (language.empty())
        return std::nullopt;
    const Language* main = nullptr;
    for (const Language& entry : kLanguages) {
        if (!AsciiText::equalsIgnoringCase(entry.language, language))
            continue;
        if (!territory.empty() && AsciiText::equalsIgnoringCase(entry.territory, territory))
            return entry.lcid;
        if (main == nullptr)
            main = &entry;
    }
    if (main == nullptr)
        return std::nullopt;
    return main->lcid;
}

std::optional<std::uint32_t> Lcid::parse(std::string_view text) {
    text = AsciiText::trimmed(text);
    unsigned base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    std::size_t digits = 0;
    for (const char c : text) {
        const std::optional<unsigned> digit = digitValue(c, base);
        if (!digit)
            break;
        value = value * base + *digit;
        if (value > 0xFFFFFFFF)
            return std::nullopt;
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

bool Lcid::containsCjk(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const Utf8::Decoded d = Utf8::decode(utf8, pos);
        if (d.valid && isCjk(d.codePoint))
            return true;
        pos += d.length;
    }
    return false;
}

} // namespace folvane
