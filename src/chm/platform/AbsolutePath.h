#pragma once

#include <filesystem>

namespace folvane::chm {

// The full path as the system completes it: on Windows against the current folder or the
// current folder of the named drive, shares (\\server\share) kept as they are.
std::filesystem::path absolutePath(const std::filesystem::path& path);

} // namespace folvane::chm
