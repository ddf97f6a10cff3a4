#include "formats/ProjectSections.h"

#include "base/AsciiText.h"

#include <algorithm>

namespace folvane::formats {

namespace {

// The line starting at pos, without its end; pos moves past it.
std::string_view nextLine(std::string_view text, std::size_t& pos) {
    const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    const std::string_view line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == '\r')
        ++pos;
    if (pos < text.size() && text[pos] == '\n')
        ++pos;
    return line;
}

} // namespace

bool ProjectSection::is(std::string_view other) const {
    return AsciiText::equalsIgnoringCase(name, other);
}

ProjectSections readProjectSections(std::string_view text) {
    ProjectSections out;
    std::size_t number = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::string_view line = nextLine(text, pos);
        ++number;
        const std::string_view trimmed = AsciiText::trimmed(line);
        if (trimmed.empty() || trimmed.front() == ';')
            continue;
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']')
            out.sections.push_back({AsciiText::trimmed(trimmed.substr(1, trimmed.size() - 2)), {}});
        else
            (out.sections.empty() ? out.beforeFirst : out.sections.back().lines).push_back({line, number});
    }
    return out;
}

std::optional<ProjectEntry> projectEntry(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || AsciiText::trimmed(line.substr(0, equals)).empty())
        return std::nullopt;
    return ProjectEntry{AsciiText::trimmed(line.substr(0, equals)), line.substr(equals + 1)};
}

std::string_view unquotedPath(std::string_view value) {
    const std::string_view v = AsciiText::trimmed(value);
    return v.size() >= 2 && v.front() == '"' && v.back() == '"' ? v.substr(1, v.size() - 2) : v;
}

std::string ProjectFileParts::text() const {
    std::size_t size = 1024;
    for (const std::string& file : files)
        size += file.size() + 2;
    std::string out;
    out.reserve(size);
    const auto line = [&out](const auto&... parts) { (out.append(parts), ..., out.append("\r\n")); };
    line("[OPTIONS]");
    for (const auto& [key, value] : options)
        line(key, "=", value);
    line("[WINDOWS]");
    for (const WindowDefinition& window : windows) {
        out += window.name;
        for (std::size_t i = 0; i < kWindowFieldCount; ++i)
            (out += i == 0 ? '=' : ',') += window.fields[i];
        line();
    }
    for (const auto& [name, lines] : sections) {
        line("[", name, "]");
        for (const std::string& text : lines)
            line(text);
    }
    line("[FILES]");
    for (const std::string& file : files)
        line(file);
    return out;
}

} // namespace folvane::formats
