#pragma once

#include "formats/WindowFields.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace folvane::formats {

// A line of a project file without its end, with its number (from 1).
struct ProjectLine {
    std::string_view text;
    std::size_t number = 0;
};

// "[NAME]" and the lines up to the next one.
struct ProjectSection {
    std::string_view name; // as written, blanks around it dropped
    std::vector<ProjectLine> lines;

    bool is(std::string_view name) const; // in any case
};

// The lines of a project file by section, as every reader of the format takes them: lines
// end at CR LF, LF or a lone CR; blank lines and comments (";") are passed over; a section
// may come more than once. Views into text.
struct ProjectSections {
    std::vector<ProjectLine> beforeFirst;
    std::vector<ProjectSection> sections;
};
ProjectSections readProjectSections(std::string_view text);

// "key=value": the key without the blanks around it, the value as written after "=".
// Nothing without "=" or with an empty key.
struct ProjectEntry {
    std::string_view key;
    std::string_view value;
};
std::optional<ProjectEntry> projectEntry(std::string_view line);

// The [OPTIONS] keys that the program writes and both halves read (in any case).
namespace option {
constexpr std::string_view kCompiledFile = "Compiled file";
constexpr std::string_view kContentsFile = "Contents file";
constexpr std::string_view kDefaultTopic = "Default topic";
constexpr std::string_view kDefaultWindow = "Default Window";
constexpr std::string_view kTitle = "Title";
} // namespace option

// A path's value without the blanks around it and one pair of quotes: file names hold none.
std::string_view unquotedPath(std::string_view value);

// The parts of a project file to write, in UTF-8.
struct ProjectFileParts {
    std::vector<std::pair<std::string_view, std::string>> options; // [OPTIONS], key and value
    std::vector<WindowDefinition> windows;
    std::vector<std::pair<std::string, std::vector<std::string>>> sections; // name and lines
    std::vector<std::string> files;

    // The sections in this order, CR LF after every line.
    std::string text() const;
};

} // namespace folvane::formats
