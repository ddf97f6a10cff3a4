#pragma once

#include <QRect>

#include <filesystem>
#include <optional>
#include <string>

namespace folvane::hhc {

struct WindowRequest {
    std::optional<QRect> over; // the rectangle to centre the window over
};

// "--window" or "--window=X,Y,WIDTH,HEIGHT"; nothing for any other argument.
std::optional<WindowRequest> windowRequest(const std::string& argument);
// Whether the output goes to a window: asked for with --window, or no terminal shows it; in
// both cases only where a display is.
bool wantsWindow(bool asked);
// Compiles while a window shows the output; closing the window cancels the compile.
int runWindowed(int argc, char* argv[], const std::filesystem::path& projectFile, std::optional<QRect> over);

} // namespace folvane::hhc
