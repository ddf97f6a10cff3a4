#pragma once

#include "chm/system/WindowDefinition.h"

#include <cstdint>
#include <vector>

namespace folvane::chm {

class StringTable;

// #WINDOWS: the window types as the viewer's window structure, texts as #STRINGS offsets.
std::vector<std::uint8_t> windowsFile(const std::vector<WindowDefinition>& windows, StringTable& strings);

} // namespace folvane::chm
