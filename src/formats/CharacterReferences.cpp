#include "formats/CharacterReferences.h"

#include "base/Utf8.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

namespace folvane::formats {

namespace {

constexpr char32_t kReplacement = Utf8::kReplacement;

struct Entity {
    std::string_view name;
    char32_t codePoint;
};

constexpr std::size_t kLongestName = 8; // "thetasym"

// A name of up to eight bytes as one number: the lookup compares numbers, not strings.
constexpr std::uint64_t key(std::string_view name) {
    std::uint64_t packed = 0;
    for (std::size_t i = 0; i < name.size(); ++i)
        packed |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * (kLongestName - 1 - i));
    return packed;
}

struct KeyedEntity {
    std::uint64_t key;
    char32_t codePoint;
};

// Sorted by name. &lang; and &rang; give the brackets browsers show today (U+27E8, U+27E9).
constexpr std::array kEntities{
    Entity{"AElig", 0x00C6},   Entity{"Aacute", 0x00C1},  Entity{"Acirc", 0x00C2},    Entity{"Agrave", 0x00C0},
    Entity{"Alpha", 0x0391},   Entity{"Aring", 0x00C5},   Entity{"Atilde", 0x00C3},   Entity{"Auml", 0x00C4},
    Entity{"Beta", 0x0392},    Entity{"Ccedil", 0x00C7},  Entity{"Chi", 0x03A7},      Entity{"Dagger", 0x2021},
    Entity{"Delta", 0x0394},   Entity{"ETH", 0x00D0},     Entity{"Eacute", 0x00C9},   Entity{"Ecirc", 0x00CA},
    Entity{"Egrave", 0x00C8},  Entity{"Epsilon", 0x0395}, Entity{"Eta", 0x0397},      Entity{"Euml", 0x00CB},
    Entity{"Gamma", 0x0393},   Entity{"Iacute", 0x00CD},  Entity{"Icirc", 0x00CE},    Entity{"Igrave", 0x00CC},
    Entity{"Iota", 0x0399},    Entity{"Iuml", 0x00CF},    Entity{"Kappa", 0x039A},    Entity{"Lambda", 0x039B},
    Entity{"Mu", 0x039C},      Entity{"Ntilde", 0x00D1},  Entity{"Nu", 0x039D},       Entity{"OElig", 0x0152},
    Entity{"Oacute", 0x00D3},  Entity{"Ocirc", 0x00D4},   Entity{"Ograve", 0x00D2},   Entity{"Omega", 0x03A9},
    Entity{"Omicron", 0x039F}, Entity{"Oslash", 0x00D8},  Entity{"Otilde", 0x00D5},   Entity{"Ouml", 0x00D6},
    Entity{"Phi", 0x03A6},     Entity{"Pi", 0x03A0},      Entity{"Prime", 0x2033},    Entity{"Psi", 0x03A8},
    Entity{"Rho", 0x03A1},     Entity{"Scaron", 0x0160},  Entity{"Sigma", 0x03A3},    Entity{"THORN", 0x00DE},
    Entity{"Tau", 0x03A4},     Entity{"Theta", 0x0398},   Entity{"Uacute", 0x00DA},   Entity{"Ucirc", 0x00DB},
    Entity{"Ugrave", 0x00D9},  Entity{"Upsilon", 0x03A5}, Entity{"Uuml", 0x00DC},     Entity{"Xi", 0x039E},
    Entity{"Yacute", 0x00DD},  Entity{"Yuml", 0x0178},    Entity{"Zeta", 0x0396},     Entity{"aacute", 0x00E1},
    Entity{"acirc", 0x00E2},   Entity{"acute", 0x00B4},   Entity{"aelig", 0x00E6},    Entity{"agrave", 0x00E0},
    Entity{"alefsym", 0x2135}, Entity{"alpha", 0x03B1},   Entity{"amp", 0x0026},      Entity{"and", 0x2227},
    Entity{"ang", 0x2220},     Entity{"apos", 0x0027},    Entity{"aring", 0x00E5},    Entity{"asymp", 0x2248},
    Entity{"atilde", 0x00E3},  Entity{"auml", 0x00E4},    Entity{"bdquo", 0x201E},    Entity{"beta", 0x03B2},
    Entity{"brvbar", 0x00A6},  Entity{"bull", 0x2022},    Entity{"cap", 0x2229},      Entity{"ccedil", 0x00E7},
    Entity{"cedil", 0x00B8},   Entity{"cent", 0x00A2},    Entity{"chi", 0x03C7},      Entity{"circ", 0x02C6},
    Entity{"clubs", 0x2663},   Entity{"cong", 0x2245},    Entity{"copy", 0x00A9},     Entity{"crarr", 0x21B5},
    Entity{"cup", 0x222A},     Entity{"curren", 0x00A4},  Entity{"dArr", 0x21D3},     Entity{"dagger", 0x2020},
    Entity{"darr", 0x2193},    Entity{"deg", 0x00B0},     Entity{"delta", 0x03B4},    Entity{"diams", 0x2666},
    Entity{"divide", 0x00F7},  Entity{"eacute", 0x00E9},  Entity{"ecirc", 0x00EA},    Entity{"egrave", 0x00E8},
    Entity{"empty", 0x2205},   Entity{"emsp", 0x2003},    Entity{"ensp", 0x2002},     Entity{"epsilon", 0x03B5},
    Entity{"equiv", 0x2261},   Entity{"eta", 0x03B7},     Entity{"eth", 0x00F0},      Entity{"euml", 0x00EB},
    Entity{"euro", 0x20AC},    Entity{"exist", 0x2203},   Entity{"fnof", 0x0192},     Entity{"forall", 0x2200},
    Entity{"frac12", 0x00BD},  Entity{"frac14", 0x00BC},  Entity{"frac34", 0x00BE},   Entity{"frasl", 0x2044},
    Entity{"gamma", 0x03B3},   Entity{"ge", 0x2265},      Entity{"gt", 0x003E},       Entity{"hArr", 0x21D4},
    Entity{"harr", 0x2194},    Entity{"hearts", 0x2665},  Entity{"hellip", 0x2026},   Entity{"iacute", 0x00ED},
    Entity{"icirc", 0x00EE},   Entity{"iexcl", 0x00A1},   Entity{"igrave", 0x00EC},   Entity{"image", 0x2111},
    Entity{"infin", 0x221E},   Entity{"int", 0x222B},     Entity{"iota", 0x03B9},     Entity{"iquest", 0x00BF},
    Entity{"isin", 0x2208},    Entity{"iuml", 0x00EF},    Entity{"kappa", 0x03BA},    Entity{"lArr", 0x21D0},
    Entity{"lambda", 0x03BB},  Entity{"lang", 0x27E8},    Entity{"laquo", 0x00AB},    Entity{"larr", 0x2190},
    Entity{"lceil", 0x2308},   Entity{"ldquo", 0x201C},   Entity{"le", 0x2264},       Entity{"lfloor", 0x230A},
    Entity{"lowast", 0x2217},  Entity{"loz", 0x25CA},     Entity{"lrm", 0x200E},      Entity{"lsaquo", 0x2039},
    Entity{"lsquo", 0x2018},   Entity{"lt", 0x003C},      Entity{"macr", 0x00AF},     Entity{"mdash", 0x2014},
    Entity{"micro", 0x00B5},   Entity{"middot", 0x00B7},  Entity{"minus", 0x2212},    Entity{"mu", 0x03BC},
    Entity{"nabla", 0x2207},   Entity{"nbsp", 0x00A0},    Entity{"ndash", 0x2013},    Entity{"ne", 0x2260},
    Entity{"ni", 0x220B},      Entity{"not", 0x00AC},     Entity{"notin", 0x2209},    Entity{"nsub", 0x2284},
    Entity{"ntilde", 0x00F1},  Entity{"nu", 0x03BD},      Entity{"oacute", 0x00F3},   Entity{"ocirc", 0x00F4},
    Entity{"oelig", 0x0153},   Entity{"ograve", 0x00F2},  Entity{"oline", 0x203E},    Entity{"omega", 0x03C9},
    Entity{"omicron", 0x03BF}, Entity{"oplus", 0x2295},   Entity{"or", 0x2228},       Entity{"ordf", 0x00AA},
    Entity{"ordm", 0x00BA},    Entity{"oslash", 0x00F8},  Entity{"otilde", 0x00F5},   Entity{"otimes", 0x2297},
    Entity{"ouml", 0x00F6},    Entity{"para", 0x00B6},    Entity{"part", 0x2202},     Entity{"permil", 0x2030},
    Entity{"perp", 0x22A5},    Entity{"phi", 0x03C6},     Entity{"pi", 0x03C0},       Entity{"piv", 0x03D6},
    Entity{"plusmn", 0x00B1},  Entity{"pound", 0x00A3},   Entity{"prime", 0x2032},    Entity{"prod", 0x220F},
    Entity{"prop", 0x221D},    Entity{"psi", 0x03C8},     Entity{"quot", 0x0022},     Entity{"rArr", 0x21D2},
    Entity{"radic", 0x221A},   Entity{"rang", 0x27E9},    Entity{"raquo", 0x00BB},    Entity{"rarr", 0x2192},
    Entity{"rceil", 0x2309},   Entity{"rdquo", 0x201D},   Entity{"real", 0x211C},     Entity{"reg", 0x00AE},
    Entity{"rfloor", 0x230B},  Entity{"rho", 0x03C1},     Entity{"rlm", 0x200F},      Entity{"rsaquo", 0x203A},
    Entity{"rsquo", 0x2019},   Entity{"sbquo", 0x201A},   Entity{"scaron", 0x0161},   Entity{"sdot", 0x22C5},
    Entity{"sect", 0x00A7},    Entity{"shy", 0x00AD},     Entity{"sigma", 0x03C3},    Entity{"sigmaf", 0x03C2},
    Entity{"sim", 0x223C},     Entity{"spades", 0x2660},  Entity{"sub", 0x2282},      Entity{"sube", 0x2286},
    Entity{"sum", 0x2211},     Entity{"sup", 0x2283},     Entity{"sup1", 0x00B9},     Entity{"sup2", 0x00B2},
    Entity{"sup3", 0x00B3},    Entity{"supe", 0x2287},    Entity{"szlig", 0x00DF},    Entity{"tau", 0x03C4},
    Entity{"there4", 0x2234},  Entity{"theta", 0x03B8},   Entity{"thetasym", 0x03D1}, Entity{"thinsp", 0x2009},
    Entity{"thorn", 0x00FE},   Entity{"tilde", 0x02DC},   Entity{"times", 0x00D7},    Entity{"trade", 0x2122},
    Entity{"uArr", 0x21D1},    Entity{"uacute", 0x00FA},  Entity{"uarr", 0x2191},     Entity{"ucirc", 0x00FB},
    Entity{"ugrave", 0x00F9},  Entity{"uml", 0x00A8},     Entity{"upsih", 0x03D2},    Entity{"upsilon", 0x03C5},
    Entity{"uuml", 0x00FC},    Entity{"weierp", 0x2118},  Entity{"xi", 0x03BE},       Entity{"yacute", 0x00FD},
    Entity{"yen", 0x00A5},     Entity{"yuml", 0x00FF},    Entity{"zeta", 0x03B6},     Entity{"zwj", 0x200D},
    Entity{"zwnj", 0x200C},
};

// Keys rise as the names do, and no two are equal.
constexpr auto kKeyedEntities = [] {
    std::array<KeyedEntity, kEntities.size()> keyed{};
    for (std::size_t i = 0; i < kEntities.size(); ++i)
        keyed[i] = {key(kEntities[i].name), kEntities[i].codePoint};
    return keyed;
}();
static_assert(std::ranges::all_of(kEntities, [](const Entity& e) { return e.name.size() <= kLongestName; }));
static_assert(std::ranges::adjacent_find(kKeyedEntities, std::ranges::greater_equal{}, &KeyedEntity::key) ==
              kKeyedEntities.end());

// Numeric references to 0x80..0x9F mean the characters Windows-1252 has there, as
// browsers read them; 0 marks the undefined ones.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char32_t numericCharacter(std::uint32_t value) {
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return kReplacement;
    if (value >= 0x80 && value <= 0x9F && kWindows1252High[value - 0x80] != 0)
        return kWindows1252High[value - 0x80];
    return value;
}

int digitValue(char c, bool hex) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (hex && c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "&#65;", "&#x41" ...
std::optional<CharacterReference> numericReference(std::string_view text, std::size_t amp) {
    std::size_t pos = amp + 2;
    const bool hex = pos < text.size() && (text[pos] == 'x' || text[pos] == 'X');
    if (hex)
        ++pos;
    const std::size_t digits = pos;
    std::uint32_t value = 0;
    for (int digit; pos < text.size() && (digit = digitValue(text[pos], hex)) >= 0; ++pos) {
        // Stops growing once out of range, so that any run of digits fits.
        if (value <= 0x10FFFF)
            value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (pos == digits)
        return std::nullopt;
    if (pos < text.size() && text[pos] == ';')
        ++pos;
    return CharacterReference{numericCharacter(value), pos - amp};
}

bool isAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

constexpr std::size_t kLongestLatin1Name = 6; // "frac14"

// The character an HTML 4 name (or "apos") stands for; names are case-sensitive.
std::optional<char32_t> namedEntity(std::string_view name) {
    if (name.empty() || name.size() > kLongestName)
        return std::nullopt;
    const std::uint64_t wanted = key(name);
    const auto found = std::ranges::lower_bound(kKeyedEntities, wanted, {}, &KeyedEntity::key);
    // A name with a NUL byte packs like a shorter one.
    if (found == kKeyedEntities.end() || found->key != wanted ||
        kEntities[static_cast<std::size_t>(found - kKeyedEntities.begin())].name.size() != name.size())
        return std::nullopt;
    return found->codePoint;
}

// The names a sitemap value may use, each with its ';'; other text is no reference.
std::optional<CharacterReference> sitemapReference(std::string_view text, std::size_t amp) {
    const std::size_t semicolon = text.find(';', amp + 1);
    if (semicolon == std::string_view::npos || semicolon - amp > 12)
        return std::nullopt;
    const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
    const std::size_t length = semicolon - amp + 1;
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
            return std::nullopt;
        return CharacterReference{code > 0 && code <= 0x10FFFF ? static_cast<char32_t>(code) : kReplacement, length};
    }
    for (const std::string_view known : {"amp", "lt", "gt", "quot", "apos", "nbsp"})
        if (name == known)
            return CharacterReference{*namedEntity(name), length};
    return std::nullopt;
}

// Only the names the program's own writers use.
std::optional<CharacterReference> writtenReference(std::string_view text, std::size_t amp, bool pathNames) {
    const std::string_view rest = text.substr(amp);
    for (const std::string_view name : {"&quot;", "&lt;", "&gt;", "&amp;"}) {
        if (rest.starts_with(name))
            return CharacterReference{*namedEntity(name.substr(1, name.size() - 2)), name.size()};
        if (!pathNames)
            break;
    }
    return std::nullopt;
}

// The page text rule.
std::optional<CharacterReference> htmlReference(std::string_view text, std::size_t amp) {
    const std::size_t start = amp + 1;
    if (start < text.size() && text[start] == '#')
        return numericReference(text, amp);
    std::size_t end = start;
    while (end < text.size() && end - start <= kLongestName && isAlphanumeric(text[end]))
        ++end;
    const std::size_t length = end - start;
    if (length <= kLongestName && end < text.size() && text[end] == ';') {
        if (const auto c = namedEntity(text.substr(start, length)))
            return CharacterReference{*c, length + 2};
    }
    // Without ';' the longest Latin-1 name that fits wins: "&notit" is "¬it".
    for (std::size_t size = std::min(length, kLongestLatin1Name); size >= 2; --size) {
        if (const auto c = namedEntity(text.substr(start, size)); c && *c <= 0xFF)
            return CharacterReference{*c, size + 1};
    }
    return std::nullopt;
}

} // namespace

std::optional<CharacterReference> characterReference(std::string_view text, std::size_t amp, ReferenceRule rule) {
    switch (rule) {
    case ReferenceRule::WrittenName:
        return writtenReference(text, amp, false);
    case ReferenceRule::WrittenPath:
        return writtenReference(text, amp, true);
    case ReferenceRule::SitemapValue:
        return sitemapReference(text, amp);
    case ReferenceRule::PageText:
        break;
    }
    return htmlReference(text, amp);
}

std::string decodeCharacterReferences(std::string_view utf8, ReferenceRule rule) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    for (std::size_t amp; (amp = utf8.find('&', at)) != std::string_view::npos;) {
        out.append(utf8.substr(at, amp - at));
        if (const auto reference = characterReference(utf8, amp, rule)) {
            Utf8::append(out, reference->codePoint);
            at = amp + reference->length;
        } else {
            out += '&';
            at = amp + 1;
        }
    }
    out.append(utf8.substr(at));
    return out;
}

void appendWrittenValue(std::string& out, std::string_view utf8) {
    for (const char c : utf8)
        c == '"' ? out.append("&quot;") : out.append(1, c);
}

} // namespace folvane::formats
