#pragma once

#include <filesystem>

namespace folvane::hhc {

// Whether the output needs a window: no terminal shows it, but a display is there.
bool wantsWindow();
// Compiles while a window shows the output; closing the window cancels the compile.
int runWindowed(int argc, char* argv[], const std::filesystem::path& projectFile);

} // namespace folvane::hhc
