#include "chm/sitemap/SitemapText.h"

#include "base/AsciiText.h"
#include "base/CodePage.h"
#include "base/Utf8.h"
#include "formats/CharacterReferences.h"
#include "formats/SitemapScanner.h"

#include <algorithm>

namespace folvane::chm {

namespace {

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
    for (const formats::SitemapRawObject& raw : formats::scanSitemap(text_)) {
        SitemapObject& object = objects_.emplace_back();
        object.type = AsciiText::lowered(decoded(raw.type));
        object.depth = raw.depth;
        for (const formats::SitemapRawParam& p : raw.params)
            object.params.push_back(
                {AsciiText::lowered(decoded(p.name)), decoded(p.value), p.begin, p.begin + p.value.size()});
    }
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
