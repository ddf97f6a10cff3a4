#include "chm/sitemap/SitemapText.h"

#include "chm/text/AsciiText.h"
#include "chm/text/CodePage.h"
#include "chm/text/Utf8.h"
#include "formats/CharacterReferences.h"

#include <algorithm>

namespace folvane::chm {

namespace {

constexpr std::size_t npos = std::string::npos;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool startsWithAt(std::string_view text, std::size_t at, std::string_view lowerNeedle) {
    if (at + lowerNeedle.size() > text.size())
        return false;
    for (std::size_t i = 0; i < lowerNeedle.size(); ++i)
        if (AsciiText::lower(text[at + i]) != lowerNeedle[i])
            return false;
    return true;
}

std::size_t findIgnoringCase(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
    for (std::size_t at = text.find_first_of("<", from); at != npos; at = text.find('<', at + 1))
        if (startsWithAt(text, at, lowerNeedle))
            return at;
    return npos;
}

// A tag name is followed by space, ">" or "/".
bool isTag(std::string_view text, std::size_t at, std::string_view lowerName) {
    if (!startsWithAt(text, at, lowerName))
        return false;
    const std::size_t after = at + lowerName.size();
    return after == text.size() || isSpace(text[after]) || text[after] == '>' || text[after] == '/';
}

// An '&' that a reader would take for the start of a reference.
bool startsReference(std::string_view value, std::size_t amp) {
    return amp + 1 < value.size() && (value[amp + 1] == '#' || (value[amp + 1] >= 'a' && value[amp + 1] <= 'z') ||
                                      (value[amp + 1] >= 'A' && value[amp + 1] <= 'Z'));
}

enum class Ampersands { Kept, Escaped, EscapedWhereRead };

std::string escaped(std::string_view value, Ampersands ampersands) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += ampersands == Ampersands::Escaped ||
                           (ampersands == Ampersands::EscapedWhereRead && startsReference(value, i))
                       ? "&amp;"
                       : "&";
            break;
        default:
            out += c;
        }
    }
    return out;
}

struct Attribute {
    std::string name;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Where a double-quoted value that starts at begin ends: at the last quote on its line that
// closes the tag, before any following param or end of object.
std::size_t forgivingValueEnd(std::string_view text, std::size_t begin) {
    std::size_t limit = std::min(text.find('\n', begin), text.size());
    limit = std::min({limit, findIgnoringCase(text, "<param", begin), findIgnoringCase(text, "</object", begin)});
    for (std::size_t q = limit; q-- > begin;) {
        if (text[q] != '"')
            continue;
        std::size_t after = q + 1;
        while (after < text.size() && (text[after] == ' ' || text[after] == '\t' || text[after] == '\r'))
            ++after;
        if (after < text.size() &&
            (text[after] == '>' || (text[after] == '/' && after + 1 < text.size() && text[after + 1] == '>')))
            return q;
    }
    const std::size_t first = text.find('"', begin);
    return first == npos ? text.size() : first;
}

// Reads the attributes of a tag from pos; returns the position after the tag.
std::size_t scanAttributes(std::string_view text, std::size_t pos, bool forgivingValue, std::vector<Attribute>& out) {
    while (pos < text.size()) {
        while (pos < text.size() && isSpace(text[pos]))
            ++pos;
        if (pos >= text.size())
            break;
        if (text[pos] == '>')
            return pos + 1;
        if (text[pos] == '/' || text[pos] == '"' || text[pos] == '\'' || text[pos] == '=') {
            ++pos;
            continue;
        }
        const std::size_t nameBegin = pos;
        while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '=' && text[pos] != '>' && text[pos] != '/')
            ++pos;
        Attribute attribute{AsciiText::lowered(text.substr(nameBegin, pos - nameBegin)), pos, pos};
        while (pos < text.size() && isSpace(text[pos]))
            ++pos;
        if (pos >= text.size() || text[pos] != '=') {
            out.push_back(std::move(attribute));
            continue;
        }
        ++pos;
        while (pos < text.size() && isSpace(text[pos]))
            ++pos;
        if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
            const char quote = text[pos];
            attribute.begin = pos + 1;
            if (forgivingValue && quote == '"' && attribute.name == "value") {
                attribute.end = forgivingValueEnd(text, attribute.begin);
            } else {
                const std::size_t close = text.find(quote, attribute.begin);
                attribute.end = close == npos ? text.size() : close;
            }
            pos = std::min(attribute.end + 1, text.size());
        } else {
            attribute.begin = pos;
            while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '>')
                ++pos;
            attribute.end = pos;
        }
        out.push_back(std::move(attribute));
    }
    return text.size();
}

bool isWhiteSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

// The names viewers show.
bool isShownName(const std::string& param) {
    return param == "name" || param == "keyword" || param == "see also";
}

} // namespace

std::string shownName(std::string_view utf8) {
    std::size_t begin = 0;
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const Utf8::Decoded d = Utf8::decode(utf8, pos);
        pos += d.length;
        if (d.valid && isWhiteSpace(d.codePoint)) {
            if (begin == end)
                begin = end = pos;
            continue;
        }
        end = pos;
    }
    return std::string(utf8.substr(begin, end - begin));
}

std::string SitemapObject::param(std::string_view name) const {
    for (const SitemapParam& p : params)
        if (p.name == name)
            return p.value;
    return {};
}

SitemapText::SitemapText(std::string bytes, std::uint32_t codePage) : text_(std::move(bytes)), codePage_(codePage) {
    parse();
}

std::string SitemapText::decoded(std::string_view raw) const {
    return formats::decodeCharacterReferences(CodePage::toUtf8(raw, codePage_), formats::ReferenceRule::SitemapValue);
}

std::string SitemapText::converted(std::string_view raw, std::uint32_t codePage) const {
    if (codePage == codePage_)
        return std::string(raw);
    return CodePage::fromUtf8(CodePage::toUtf8(raw, codePage_), codePage, CodePage::Unmappable::NumericReference);
}

void SitemapText::parse() {
    bool inObject = false;
    int lists = 0;
    std::size_t at = 0;
    while ((at = text_.find('<', at)) != npos) {
        if (startsWithAt(text_, at, "<!--")) {
            const std::size_t end = text_.find("-->", at + 4);
            at = end == npos ? text_.size() : end + 3;
        } else if (isTag(text_, at, "<object")) {
            at = parseObjectTag(at);
            objects_.back().depth = lists;
            inObject = true;
        } else if (isTag(text_, at, "</object")) {
            inObject = false;
            at += 8;
        } else if (isTag(text_, at, "<ul")) {
            ++lists;
            at += 3;
        } else if (isTag(text_, at, "</ul")) {
            lists = std::max(lists - 1, 0);
            at += 4;
        } else if (inObject && isTag(text_, at, "<param")) {
            at = parseParamTag(at, objects_.back());
        } else {
            ++at;
        }
    }
}

std::size_t SitemapText::parseObjectTag(std::size_t at) {
    std::vector<Attribute> attributes;
    const std::size_t next = scanAttributes(text_, at + 7, false, attributes);
    SitemapObject& object = objects_.emplace_back();
    for (const Attribute& a : attributes)
        if (a.name == "type")
            object.type = AsciiText::lowered(decoded(std::string_view(text_).substr(a.begin, a.end - a.begin)));
    return next;
}

std::size_t SitemapText::parseParamTag(std::size_t at, SitemapObject& object) {
    std::vector<Attribute> attributes;
    const std::size_t next = scanAttributes(text_, at + 6, true, attributes);
    SitemapParam param;
    bool hasValue = false;
    for (const Attribute& a : attributes) {
        const std::string_view raw = std::string_view(text_).substr(a.begin, a.end - a.begin);
        if (a.name == "name") {
            param.name = AsciiText::lowered(decoded(raw));
        } else if (a.name == "value" && !hasValue) {
            param.value = decoded(raw);
            param.begin = a.begin;
            param.end = a.end;
            hasValue = true;
        }
    }
    if (hasValue)
        object.params.push_back(std::move(param));
    return next;
}

std::string SitemapText::stored(const std::function<std::string(const std::string&)>& mapLocal,
                                std::uint32_t codePage) const {
    std::vector<const SitemapParam*> params;
    for (const SitemapObject& object : objects_)
        for (const SitemapParam& p : object.params)
            params.push_back(&p);
    std::sort(params.begin(), params.end(),
              [](const SitemapParam* a, const SitemapParam* b) { return a->begin < b->begin; });

    std::string out;
    out.reserve(text_.size() + text_.size() / 16);
    std::size_t copied = 0;
    const std::string_view text = text_;
    for (const SitemapParam* p : params) {
        if (p->begin < copied)
            continue;
        out += converted(text.substr(copied, p->begin - copied), codePage);
        const std::string_view raw = text.substr(p->begin, p->end - p->begin);
        const std::string mapped = p->name == "local" && mapLocal ? mapLocal(p->value) : p->value;
        if (isShownName(p->name) && (raw.find('&') != std::string_view::npos || shownName(p->value) != p->value)) {
            out += CodePage::fromUtf8(escaped(shownName(p->value), Ampersands::EscapedWhereRead), codePage,
                                      CodePage::Unmappable::Approximation);
        } else if (mapped != p->value) {
            out += CodePage::fromUtf8(escaped(mapped, Ampersands::Escaped), codePage,
                                      CodePage::Unmappable::NumericReference);
        } else {
            out += converted(escaped(raw, Ampersands::Kept), codePage);
        }
        copied = p->end;
    }
    out += converted(text.substr(copied), codePage);
    return out;
}

} // namespace folvane::chm
