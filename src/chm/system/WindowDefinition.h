#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace folvane::chm {

// A window type for the viewer, from one [WINDOWS] line. Texts are in the help file's
// code page; numbers left empty in the project stay unset.
struct WindowDefinition {
    std::string name;
    std::string caption;
    std::string contentsFile;
    std::string indexFile;
    std::string defaultFile;
    std::string homeFile;
    std::string jump1Url;
    std::string jump1Text;
    std::string jump2Url;
    std::string jump2Text;
    std::optional<std::uint32_t> properties;
    std::optional<std::uint32_t> navigationWidth;
    std::optional<std::uint32_t> toolbarButtons;
    std::optional<std::array<std::int32_t, 4>> position;
    std::optional<std::uint32_t> style;
    std::optional<std::uint32_t> extendedStyle;
    std::optional<std::uint32_t> showState;
    std::optional<std::uint32_t> navigationClosed;
    std::optional<std::uint32_t> defaultTab;
    std::optional<std::uint32_t> tabPosition;
    std::optional<std::uint32_t> notifyId;
};

} // namespace folvane::chm
