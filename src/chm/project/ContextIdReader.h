#pragma once

#include "chm/project/HhpProject.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace folvane::chm {

// Where a line was written, for messages: "alias.h" and its line number.
struct SourcePlace {
    std::string file;
    std::size_t line = 0;
};

// A number an application passes to open help on a topic (F1 help), with the topic its
// alias names as written and the place of that alias.
struct ContextTopic {
    std::uint32_t id = 0;
    std::string topic;
    SourcePlace place;
};

// A file that #include names, read: the name to show and its text as UTF-8.
struct IncludedText {
    std::string shownName;
    std::string fullPath;
    std::string utf8;
};

// Reads [MAP] ("#define NAME 1001", "NAME 0x3E9", "#include ids.h") and [ALIAS]
// ("NAME=page.htm", "#include aliases.ali") with the files they include, and pairs each
// numbered name with its alias. Names match ignoring ASCII case, as on Windows.
class ContextIdReader {
public:
    // Reads the file `written` names from the file at includerPath; none with the reason in
    // error when it cannot be read.
    using Include = std::function<std::optional<IncludedText>(const std::string& includerPath,
                                                              const std::string& written, std::string& error)>;

    ContextIdReader(std::string projectName, std::string projectPath, Include include);

    // The numbered topics in [MAP] order; what cannot be paired or read becomes a warning.
    std::vector<ContextTopic> read(const std::vector<HhpLine>& map, const std::vector<HhpLine>& aliases);
    const std::vector<std::string>& warnings() const { return warnings_; }

    // A message about the line at place: "alias.h 第 3 行：text".
    static std::string message(const SourcePlace& place, const std::string& text);

private:
    struct Source {
        const std::string& shownName;
        const std::string& path;
        bool inProject; // lines of the project file itself, where every line must be understood
    };
    struct Named {
        std::string name;     // as written
        std::uint32_t id = 0; // [MAP]
        std::string topic;    // [ALIAS]
        SourcePlace place;
    };

    void readLine(std::string_view line, const Source& source, std::size_t number, bool aliases);
    void include(std::string_view written, const Source& source, std::size_t number, bool aliases);
    bool define(std::string_view line, const SourcePlace& place);
    void alias(std::string_view line, const SourcePlace& place);
    void add(std::unordered_map<std::string, Named>& names, std::vector<std::string>& order, Named named);
    void warn(const SourcePlace& place, const std::string& text);

    std::string projectName_;
    std::string projectPath_;
    Include include_;
    // Names in lower case, in the order they were first defined.
    std::vector<std::string> numberOrder_;
    std::vector<std::string> aliasOrder_;
    std::unordered_map<std::string, Named> numbers_;
    std::unordered_map<std::string, Named> aliases_;
    // Each file is read once per section, so files that include each other end.
    std::unordered_set<std::string> included_;
    std::vector<std::string> warnings_;
};

} // namespace folvane::chm
