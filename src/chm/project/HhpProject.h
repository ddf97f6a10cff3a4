#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace folvane::chm {

// One definition of the [WINDOWS] section: name="caption","contents","index",...
struct HhpWindow {
    std::string name;
    // Every comma-separated field after "=", quotes removed, in order. The rectangle
    // "[l,t,r,b]" is one field, brackets kept.
    std::vector<std::string> fields;
};

// A line of a section read later, with its place in the project file.
struct HhpLine {
    std::string text;
    std::size_t number = 0;
};

// What a project file says, all text in UTF-8. Paths are as written: relative to the
// project folder or absolute, with the separators the file uses.
struct HhpProject {
    std::string compiledFile;
    std::string contentsFile;
    std::string indexFile;
    std::string defaultTopic;
    std::string defaultWindow;
    std::string title;
    std::string defaultFont;
    // Words the search index leaves out, one or more a line.
    std::string stopListFile;
    // The LCID of a "Language=" line (its leading number, "0x804 中文(中国)" gives 0x804).
    std::optional<std::uint32_t> language;
    bool fullTextSearch = false;
    bool binaryIndex = false;
    bool binaryToc = false;
    std::vector<HhpWindow> windows;
    // The code page of the project's text files (this one, its contents and index, headers,
    // the stop list) where they are neither UTF-8 nor UTF-16: its language's, or the
    // system's when it names none.
    std::uint32_t textCodePage = 1252;
    std::vector<std::string> files;
    // Context help: [ALIAS] (name=topic) and [MAP] (#define name number), #include lines kept.
    std::vector<HhpLine> aliases;
    std::vector<HhpLine> map;
    // One line for each key or section read and left without effect, for the user.
    std::vector<std::string> notices;
};

} // namespace folvane::chm
