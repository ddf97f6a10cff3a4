#pragma once

#include "chm/compile/Compiler.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace folvane::hhc {

// The options that change how a compile works, taken out of the command's arguments:
//   --force             replace an output that is not a help file or is read-only
//   --index-memory MB   memory for the search index's words before they go to a file
// Leaves every other argument as it was; returns what is wrong with a value, if anything.
std::optional<std::string> takeCompileOptions(std::vector<std::filesystem::path>& arguments,
                                              chm::Compiler::Options& options);

// The usage line's part for them.
inline constexpr const char* kCompileOptionsUsage = "[--force] [--index-memory MB]";

} // namespace folvane::hhc
