#include "base/SystemLocale.h"

#include "base/WindowsApi_win.h"

namespace folvane {

std::optional<std::uint32_t> systemLcid() {
    const LCID lcid = GetUserDefaultLCID();
    if (lcid == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(lcid);
}

std::uint32_t systemAnsiCodePage() {
    return static_cast<std::uint32_t>(GetACP());
}

} // namespace folvane
