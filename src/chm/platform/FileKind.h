#pragma once

#include <filesystem>

namespace folvane::chm {

enum class FileKind { Missing, File, Folder, Other };

// What a path names. On Windows also past the ordinary path length, which
// the standard library's status calls do not reach there.
FileKind fileKind(const std::filesystem::path& path);
// Whether a file is marked read-only (no write permission for anyone on POSIX).
bool isReadOnly(const std::filesystem::path& path);

} // namespace folvane::chm
