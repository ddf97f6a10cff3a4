#include "chm/compile/PageReferences.h"

#include "base/AsciiText.h"
#include "formats/CharacterReferences.h"
#include "formats/HtmlTag.h"
#include "formats/TextDecoding.h"

#include <algorithm>
#include <unordered_set>

namespace folvane::chm {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool startsWithIgnoringCase(std::string_view text, std::size_t at, std::string_view lowerNeedle) {
    if (at + lowerNeedle.size() > text.size())
        return false;
    for (std::size_t i = 0; i < lowerNeedle.size(); ++i)
        if (AsciiText::lower(text[at + i]) != lowerNeedle[i])
            return false;
    return true;
}

std::size_t findIgnoringCase(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
    for (std::size_t at = from; (at = text.find('<', at)) != npos; ++at)
        if (startsWithIgnoringCase(text, at, lowerNeedle))
            return at;
    return text.size();
}

std::string decodedValue(std::string_view raw) {
    return std::string(AsciiText::trimmed(formats::decodeCharacterReferences(raw, formats::ReferenceRule::PageText)));
}

class Collector {
public:
    void add(std::string target, bool quiet) {
        if (target.empty() || target[0] == '#')
            return;
        if (seen_.insert(target).second)
            found_.push_back({std::move(target), quiet});
    }

    // url(...) and @import "..." of style sheet text.
    void addStyle(std::string_view css) {
        for (std::size_t at = 0; at < css.size(); ++at) {
            const char c = css[at];
            if (c == '/' && at + 1 < css.size() && css[at + 1] == '*') {
                const std::size_t end = css.find("*/", at + 2);
                at = end == npos ? css.size() : end + 1;
            } else if ((c == 'u' || c == 'U') && startsWithIgnoringCase(css, at, "url(")) {
                at = styleValue(css, at + 4, true);
            } else if (c == '@' && startsWithIgnoringCase(css, at, "@import")) {
                std::size_t p = at + 7;
                while (p < css.size() && formats::HtmlTag::isSpace(css[p]))
                    ++p;
                if (p < css.size() && (css[p] == '"' || css[p] == '\''))
                    at = styleValue(css, p, false);
            }
        }
    }

    std::vector<PageReference> take() { return std::move(found_); }

private:
    // A value that starts at pos, quoted or (inside url()) up to ')'; returns where it ends.
    std::size_t styleValue(std::string_view css, std::size_t pos, bool inUrl) {
        while (pos < css.size() && formats::HtmlTag::isSpace(css[pos]))
            ++pos;
        if (pos >= css.size())
            return pos;
        std::size_t end;
        std::size_t begin = pos;
        if (css[pos] == '"' || css[pos] == '\'') {
            begin = pos + 1;
            end = std::min(css.find(css[pos], begin), css.size());
        } else if (inUrl) {
            end = std::min(css.find(')', pos), css.size());
        } else {
            return pos;
        }
        add(std::string(AsciiText::trimmed(css.substr(begin, end - begin))), false);
        return end;
    }

    std::unordered_set<std::string> seen_;
    std::vector<PageReference> found_;
};

// Reads the tag whose name starts at pos; returns where scanning goes on.
std::size_t readTag(std::string_view text, std::size_t pos, Collector& out) {
    const std::size_t nameEnd = formats::HtmlTag::nameEnd(text, pos);
    const std::string name = AsciiText::lowered(text.substr(pos, nameEnd - pos));
    formats::HtmlTag::Attribute attribute;
    std::size_t at = nameEnd;
    for (;;) {
        at = formats::HtmlTag::nextAttribute(text, at, attribute);
        if (attribute.name.empty())
            break;
        const std::string key = AsciiText::lowered(attribute.name);
        if (key == "href" || key == "src" || key == "background" || (key == "data" && name == "object"))
            out.add(decodedValue(attribute.value), false);
        else if (key == "value" && name == "param")
            out.add(decodedValue(attribute.value), true);
        else if (key == "style")
            out.addStyle(decodedValue(attribute.value));
    }
    if (name == "script" || name == "style") {
        const std::size_t close = findIgnoringCase(text, name == "script" ? "</script" : "</style", at);
        if (name == "style")
            out.addStyle(text.substr(at, close - at));
        return close;
    }
    return at;
}

} // namespace

std::vector<PageReference> PageReferences::ofHtml(std::string_view bytes, std::uint32_t fallbackCodePage) {
    const std::string utf8 = formats::decodePage(bytes, fallbackCodePage);
    const std::string_view text = utf8;
    Collector out;
    std::size_t at = 0;
    while ((at = text.find('<', at)) != npos) {
        ++at;
        if (at >= text.size())
            break;
        if (text.compare(at, 3, "!--") == 0) {
            const std::size_t end = text.find("-->", at + 3);
            at = end == npos ? text.size() : end + 3;
        } else if (formats::HtmlTag::isLetter(text[at])) {
            at = readTag(text, at, out);
        }
    }
    return out.take();
}

std::vector<PageReference> PageReferences::ofStyleSheet(std::string_view bytes, std::uint32_t fallbackCodePage) {
    Collector out;
    out.addStyle(formats::decodePage(bytes, fallbackCodePage));
    return out.take();
}

bool isHtmlPageName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == npos || name.find('/', dot) != npos)
        return false;
    const std::string extension = AsciiText::lowered(name.substr(dot + 1));
    for (const char* html : {"htm", "html", "xhtml", "xht", "shtml", "shtm", "stm"})
        if (extension == html)
            return true;
    return false;
}

bool isStyleSheetName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot != npos && name.find('/', dot) == npos && AsciiText::lowered(name.substr(dot + 1)) == "css";
}

} // namespace folvane::chm
