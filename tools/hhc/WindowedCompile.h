#pragma once

#include <array>
#include <filesystem>
#include <optional>

namespace folvane::hhc {

// Whether a window can be shown: a display is there.
bool canShowWindow();
// Compiles while a window shows the output; closing the window cancels the compile. over:
// a rectangle of the screen (x, y, width, height) the window opens in the middle of.
int runWindowed(int argc, char* argv[], const std::filesystem::path& projectFile,
                const std::optional<std::array<int, 4>>& over);

} // namespace folvane::hhc
