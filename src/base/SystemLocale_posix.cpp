#include "base/SystemLocale.h"

#include "base/Lcid.h"

#include <array>
#include <cstdlib>
#include <string_view>

namespace folvane {

namespace {

// The locale that decides the character type, as setlocale would pick it.
std::string_view localeName() {
    for (const char* variable : std::array{"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

} // namespace

std::optional<std::uint32_t> systemLcid() {
    return Lcid::fromLocaleName(localeName());
}

std::uint32_t systemAnsiCodePage() {
    const std::optional<std::uint32_t> lcid = systemLcid();
    return lcid ? Lcid::ansiCodePage(*lcid) : 1252;
}

} // namespace folvane
