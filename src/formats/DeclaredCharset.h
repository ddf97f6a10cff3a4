#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace folvane::formats {

// The Windows code page for a charset label ("gbk", "Shift_JIS", "iso-8859-2" ...).
std::optional<std::uint32_t> codePageOfLabel(std::string_view label);

// The code page the first <meta> near the start of a page declares, where it names one we
// know: charset="..." or http-equiv's content="...; charset=...".
std::optional<std::uint32_t> declaredCodePage(std::string_view bytes);

} // namespace folvane::formats
