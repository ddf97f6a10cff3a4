#include "chm/platform/SystemLocale.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

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
