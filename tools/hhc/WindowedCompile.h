#pragma once

#include "chm/compile/Compiler.h"

#include <filesystem>

namespace folvane::hhc {

// Whether the output needs a window: no terminal shows it, but a display is there.
bool wantsWindow();
// Compiles while a window shows the output; closing the window, or a request to end the
// program, cancels the compile.
int runWindowed(int argc, char* argv[], const std::filesystem::path& projectFile,
                const chm::Compiler::Options& options);

} // namespace folvane::hhc
