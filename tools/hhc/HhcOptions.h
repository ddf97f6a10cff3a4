#pragma once

#include "chm/compile/Compiler.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace folvane::hhc {

// The command line of hhc: a project file, and the options around it.
struct HhcOptions {
    enum class Action { Compile, Help, UsageError };

    Action action = Action::UsageError;
    std::filesystem::path projectFile;
    // The output in a window instead of the terminal.
    bool window = false;
    // Where that window opens: centred over this rectangle (x, y, width, height) of the screen.
    std::optional<std::array<int, 4>> windowOver;
    // --force (replace an output that is not a help file, or is read-only) and --index-memory.
    chm::Compiler::Options compile;
    std::string error; // for UsageError

    static HhcOptions parse(const std::vector<std::filesystem::path>& arguments);
};

// What "hhc --help" prints: the command, the options and the exit statuses.
std::string usageText(bool windowOption);

} // namespace folvane::hhc
