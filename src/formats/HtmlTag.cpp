#include "formats/HtmlTag.h"

namespace folvane::formats {

namespace {

std::size_t skipSpaces(std::string_view text, std::size_t pos) {
    while (pos < text.size() && HtmlTag::isSpace(text[pos]))
        ++pos;
    return pos;
}

std::size_t skipSpacesAndSlashes(std::string_view text, std::size_t pos) {
    while (pos < text.size() && (HtmlTag::isSpace(text[pos]) || text[pos] == '/'))
        ++pos;
    return pos;
}

// An attribute name may start with '=', and then holds it.
std::size_t attributeNameEnd(std::string_view text, std::size_t pos) {
    ++pos;
    while (pos < text.size() && !HtmlTag::isSpace(text[pos]) && text[pos] != '/' && text[pos] != '>' &&
           text[pos] != '=')
        ++pos;
    return pos;
}

std::size_t unquotedValueEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && !HtmlTag::isSpace(text[pos]) && text[pos] != '>')
        ++pos;
    return pos;
}

} // namespace

std::size_t HtmlTag::nameEnd(std::string_view text, std::size_t pos) {
    while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '/' && text[pos] != '>')
        ++pos;
    return pos;
}

std::size_t HtmlTag::nextAttribute(std::string_view text, std::size_t pos, Attribute& attribute) {
    attribute = {};
    pos = skipSpacesAndSlashes(text, pos);
    if (pos >= text.size())
        return text.size();
    if (text[pos] == '>')
        return pos + 1;
    const std::size_t nameStart = pos;
    pos = attributeNameEnd(text, pos);
    attribute.name = text.substr(nameStart, pos - nameStart);
    const std::size_t afterName = skipSpaces(text, pos);
    if (afterName >= text.size() || text[afterName] != '=')
        return pos;
    pos = skipSpaces(text, afterName + 1);
    if (pos >= text.size())
        return pos;
    const char quote = text[pos];
    if (quote == '"' || quote == '\'') {
        // A value whose closing quote is missing runs to the end, as it does in a browser.
        const std::size_t close = text.find(quote, pos + 1);
        const std::size_t valueEnd = close == std::string_view::npos ? text.size() : close;
        attribute.value = text.substr(pos + 1, valueEnd - pos - 1);
        return valueEnd == text.size() ? valueEnd : valueEnd + 1;
    }
    const std::size_t valueEnd = unquotedValueEnd(text, pos);
    attribute.value = text.substr(pos, valueEnd - pos);
    return valueEnd;
}

std::size_t HtmlTag::end(std::string_view text, std::size_t pos) {
    Attribute attribute;
    do {
        pos = nextAttribute(text, pos, attribute);
    } while (!attribute.name.empty());
    return pos;
}

} // namespace folvane::formats
