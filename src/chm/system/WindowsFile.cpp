#include "chm/system/WindowsFile.h"

#include "chm/itsf/ByteWriter.h"
#include "chm/system/StringTable.h"

namespace folvane::chm {

namespace {

constexpr std::uint32_t kEntrySize = 196;

// Which members of the structure hold values.
enum ValidMember : std::uint32_t {
    Properties = 1u << 1,
    Styles = 1u << 2,
    ExtendedStyles = 1u << 3,
    Rectangle = 1u << 4,
    NavigationWidth = 1u << 5,
    ShowState = 1u << 6,
    ToolbarButtons = 1u << 8,
    Expansion = 1u << 9,
    TabPosition = 1u << 10,
    CurrentTab = 1u << 13,
};

std::uint32_t validMembers(const WindowDefinition& w) {
    std::uint32_t bits = 0;
    const auto mark = [&bits](bool set, ValidMember member) { bits |= set ? member : 0u; };
    mark(w.properties.has_value(), Properties);
    mark(w.style.has_value(), Styles);
    mark(w.extendedStyle.has_value(), ExtendedStyles);
    mark(w.position.has_value(), Rectangle);
    mark(w.navigationWidth.has_value(), NavigationWidth);
    mark(w.showState.has_value(), ShowState);
    mark(w.toolbarButtons.has_value(), ToolbarButtons);
    mark(w.navigationClosed.has_value(), Expansion);
    mark(w.tabPosition.has_value(), TabPosition);
    mark(w.defaultTab.has_value(), CurrentTab);
    return bits;
}

void entry(ByteWriter& w, const WindowDefinition& d, StringTable& s) {
    const std::array<std::int32_t, 4> position = d.position.value_or(std::array<std::int32_t, 4>{});
    w.u32(kEntrySize);
    w.u32(0); // texts are not UTF-16
    w.u32(s.add(d.name));
    w.u32(validMembers(d));
    w.u32(d.properties.value_or(0));
    w.u32(s.add(d.caption));
    w.u32(d.style.value_or(0));
    w.u32(d.extendedStyle.value_or(0));
    for (const std::int32_t side : position)
        w.u32(static_cast<std::uint32_t>(side));
    w.u32(d.showState.value_or(0));
    w.zeros(6 * 4); // window handles and the information types pointer, filled at run time
    w.u32(d.navigationWidth.value_or(0));
    w.zeros(4 * 4); // the topic pane's rectangle, filled at run time
    w.u32(s.add(d.contentsFile));
    w.u32(s.add(d.indexFile));
    w.u32(s.add(d.defaultFile));
    w.u32(s.add(d.homeFile));
    w.u32(d.toolbarButtons.value_or(0));
    w.u32(d.navigationClosed.value_or(0));
    w.u32(d.defaultTab.value_or(0));
    w.u32(d.tabPosition.value_or(0));
    w.u32(d.notifyId.value_or(0));
    w.zeros(20); // tab order
    w.u32(0);    // history length: the viewer's default
    w.u32(s.add(d.jump1Text));
    w.u32(s.add(d.jump2Text));
    w.u32(s.add(d.jump1Url));
    w.u32(s.add(d.jump2Url));
    w.zeros(4 * 4); // minimum size
    w.u32(0);       // information types
    w.u32(0);       // custom tabs
}

} // namespace

std::vector<std::uint8_t> windowsFile(const std::vector<WindowDefinition>& windows, StringTable& strings) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.u32(static_cast<std::uint32_t>(windows.size()));
    w.u32(kEntrySize);
    for (const WindowDefinition& d : windows)
        entry(w, d, strings);
    return out;
}

} // namespace folvane::chm
