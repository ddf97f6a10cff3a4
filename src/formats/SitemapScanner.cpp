#include "formats/SitemapScanner.h"

#include "base/AsciiText.h"

#include <algorithm>
#include <string>

namespace folvane::formats {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool startsWithAt(std::string_view text, std::size_t at, std::string_view lowerNeedle) {
    return at + lowerNeedle.size() <= text.size() &&
           AsciiText::equalsIgnoringCase(text.substr(at, lowerNeedle.size()), lowerNeedle);
}

std::size_t findIgnoringCase(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
    for (std::size_t at = text.find('<', from); at != npos; at = text.find('<', at + 1))
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

struct Attribute {
    std::string name; // lower case
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

std::size_t skipSpace(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    return pos;
}

// Reads the attributes of a tag from pos; returns the position after the tag. Only a value
// after a name is read forgivingly: before it, the last quote would be the name's.
std::size_t scanAttributes(std::string_view text, std::size_t pos, bool forgivingValue, std::vector<Attribute>& out) {
    bool nameSeen = false;
    while ((pos = skipSpace(text, pos)) < text.size()) {
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
        pos = skipSpace(text, pos);
        if (pos < text.size() && text[pos] == '=') {
            pos = skipSpace(text, pos + 1);
            if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'')) {
                const char quote = text[pos];
                attribute.begin = pos + 1;
                if (forgivingValue && nameSeen && quote == '"' && attribute.name == "value") {
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
        }
        nameSeen = nameSeen || attribute.name == "name";
        out.push_back(std::move(attribute));
    }
    return text.size();
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    std::vector<SitemapRawObject> scan() {
        bool inObject = false;
        int lists = 0;
        std::size_t at = 0;
        while ((at = text_.find('<', at)) != npos) {
            if (startsWithAt(text_, at, "<!--")) {
                const std::size_t end = text_.find("-->", at + 4);
                at = end == npos ? text_.size() : end + 3;
            } else if (isTag(text_, at, "<object")) {
                at = objectTag(at);
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
                at = paramTag(at);
            } else {
                ++at;
            }
        }
        return std::move(objects_);
    }

private:
    std::string_view value(const Attribute& a) const { return text_.substr(a.begin, a.end - a.begin); }

    std::size_t objectTag(std::size_t at) {
        std::vector<Attribute> attributes;
        const std::size_t next = scanAttributes(text_, at + 7, false, attributes);
        SitemapRawObject& object = objects_.emplace_back();
        for (const Attribute& a : attributes)
            if (a.name == "type")
                object.type = value(a);
        return next;
    }

    std::size_t paramTag(std::size_t at) {
        std::vector<Attribute> attributes;
        const std::size_t next = scanAttributes(text_, at + 6, true, attributes);
        SitemapRawParam param;
        bool hasValue = false;
        for (const Attribute& a : attributes) {
            if (a.name == "name") {
                param.name = value(a);
            } else if (a.name == "value" && !hasValue) {
                param.value = value(a);
                param.begin = a.begin;
                hasValue = true;
            }
        }
        if (hasValue)
            objects_.back().params.push_back(param);
        return next;
    }

    std::string_view text_;
    std::vector<SitemapRawObject> objects_;
};

} // namespace

std::vector<SitemapRawObject> scanSitemap(std::string_view text) {
    return Scanner(text).scan();
}

} // namespace folvane::formats
