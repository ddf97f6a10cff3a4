#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folvane::chm {

// The lines a project file's reader tells the user, all in one place.
class HhpNotice {
public:
    static std::string ignoredOption(std::string_view key);
    static std::string unknownOption(std::string_view key);
    static std::string unknownLanguage(std::string_view value);
    static std::string unknownSwitch(std::string_view key, std::string_view value);
    static std::string notAnOption(std::size_t lineNumber);
    static std::string notAWindow(std::size_t lineNumber);
    static std::string ignoredEntries(std::string_view section, std::size_t count);
    static std::string outsideSections(std::size_t count);
};

} // namespace folvane::chm
