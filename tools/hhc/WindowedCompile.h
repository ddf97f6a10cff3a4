#pragma once

#include "hhc/HhcOptions.h"

namespace folvane::hhc {

// Whether a window can be shown: a display is there.
bool canShowWindow();
// Compiles while a window shows the output; closing the window, or a request to end the
// program, cancels the compile. The window opens centred over options.windowOver if given.
int runWindowed(int argc, char* argv[], const HhcOptions& options);

} // namespace folvane::hhc
