#include "formats/WindowFields.h"

#include "base/AsciiText.h"

namespace folvane::formats {

namespace {

struct Field {
    std::string_view text;
    // Where the next field starts, past the comma; npos after the last field.
    std::size_t next;
};

std::size_t pastBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && AsciiText::isBlank(text[pos]))
        ++pos;
    return pos;
}

// Up to the next comma.
Field plainField(std::string_view text, std::size_t start) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos)
        return {AsciiText::trimmed(text.substr(start)), std::string_view::npos};
    return {AsciiText::trimmed(text.substr(start, comma - start)), comma + 1};
}

// The window's caption may hold quotes and commas, and the program writes it in quotes as
// it is: the closing quote is the first one that only blanks separate from a comma or the
// end. Without one the field runs to the end.
Field quotedField(std::string_view text, std::size_t open) {
    std::size_t quote = text.find('"', open + 1);
    while (quote != std::string_view::npos) {
        const std::size_t after = pastBlanks(text, quote + 1);
        if (after == text.size())
            return {text.substr(open + 1, quote - open - 1), std::string_view::npos};
        if (text[after] == ',')
            return {text.substr(open + 1, quote - open - 1), after + 1};
        quote = text.find('"', quote + 1);
    }
    return {AsciiText::trimmedRight(text.substr(open + 1)), std::string_view::npos};
}

// "[0,0,810,583]": its commas belong to it.
Field rectangleField(std::string_view text, std::size_t open) {
    const std::size_t close = text.find(']', open);
    if (close == std::string_view::npos)
        return plainField(text, open);
    const std::size_t comma = text.find(',', close);
    if (comma == std::string_view::npos)
        return {AsciiText::trimmedRight(text.substr(open)), std::string_view::npos};
    return {AsciiText::trimmedRight(text.substr(open, comma - open)), comma + 1};
}

Field fieldAt(std::string_view text, std::size_t pos) {
    const std::size_t start = pastBlanks(text, pos);
    if (start < text.size() && text[start] == '"')
        return quotedField(text, start);
    if (start < text.size() && text[start] == '[')
        return rectangleField(text, start);
    return plainField(text, start);
}

} // namespace

std::vector<std::string> splitWindowFields(std::string_view text) {
    std::vector<std::string> fields;
    if (AsciiText::trimmed(text).empty())
        return fields;
    std::size_t pos = 0;
    while (pos != std::string_view::npos) {
        const Field field = fieldAt(text, pos);
        fields.emplace_back(field.text);
        pos = field.next;
    }
    return fields;
}

std::string windowField(const std::vector<std::string>& fields, WindowField field) {
    const std::size_t i = fieldIndex(field);
    return i < fields.size() ? fields[i] : std::string();
}

void WindowDefinition::set(WindowField field, std::string_view text) {
    fields[fieldIndex(field)] = field <= WindowField::Jump2Text ? '"' + std::string(text) + '"' : std::string(text);
}

} // namespace folvane::formats
