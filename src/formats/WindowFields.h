#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::formats {

// The fields of a window definition ("name=caption,contents,..."), in their order.
enum class WindowField : std::size_t {
    Caption,
    ContentsFile,
    IndexFile,
    DefaultFile,
    HomeFile,
    Jump1Url,
    Jump1Text,
    Jump2Url,
    Jump2Text,
    Properties,
    NavigationWidth,
    ToolbarButtons,
    Position,
    Style,
    ExtendedStyle,
    ShowState,
    NavigationClosed,
    DefaultTab,
    TabPosition,
    NotifyId,
};
constexpr std::size_t kWindowFieldCount = static_cast<std::size_t>(WindowField::NotifyId) + 1;

constexpr std::size_t fieldIndex(WindowField field) {
    return static_cast<std::size_t>(field);
}

// The text after "name=", comma-separated; a field in quotes loses them and may hold commas
// and quotes of its own: it ends at a quote followed by a comma or the end of the line.
// "[l,t,r,b]" is one field. Empty fields stay, as empty strings; an empty text has no fields.
std::vector<std::string> splitWindowFields(std::string_view text);

// The field, empty when the definition stops before it.
std::string windowField(const std::vector<std::string>& fields, WindowField field);

// A window definition to write; the fields left unset stay empty.
struct WindowDefinition {
    std::string name;
    std::array<std::string, kWindowFieldCount> fields;

    // The texts, up to Jump2Text, go in quotes so that they may hold commas; numbers bare.
    void set(WindowField field, std::string_view text);
};

} // namespace folvane::formats
