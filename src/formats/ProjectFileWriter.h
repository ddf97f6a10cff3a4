#pragma once

#include "formats/WindowFields.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace folvane::formats {

// A window definition to write; the fields left unset stay empty.
struct WindowDefinition {
    std::string name;
    std::array<std::string, kWindowFieldCount> fields;

    // The texts, up to Jump2Text, go in quotes so that they may hold commas; numbers bare.
    void set(WindowField field, std::string_view text);
};

// A project file in UTF-8.
struct ProjectFileContent {
    std::vector<std::pair<std::string, std::string>> options; // [OPTIONS], key and value
    std::vector<WindowDefinition> windows;
    std::vector<std::pair<std::string, std::vector<std::string>>> sections; // name and lines
    std::vector<std::string> files;

    // The sections in this order, CR LF after every line.
    std::string text() const;
};

} // namespace folvane::formats
