#include "chm/platform/SystemLocale.h"

#include "chm/platform/WindowsApi_win.h"

namespace folvane::chm {

std::optional<std::uint32_t> systemLcid() {
    const LCID lcid = GetUserDefaultLCID();
    if (lcid == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(lcid);
}

std::uint32_t systemAnsiCodePage() {
    return static_cast<std::uint32_t>(GetACP());
}

} // namespace folvane::chm
