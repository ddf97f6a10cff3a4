#pragma once

#include <string>

namespace folvane {

// The full path as the system completes it: against the current folder or the current folder
// of the named drive, shares (\\server\share) kept as they are; the path itself when it fails.
std::wstring fullPath(const std::wstring& path);

// The name to hand the wide-character file calls: the full path, in the "\\?\" form once it
// is too long for the ordinary one (drive paths as \\?\C:\..., shares as \\?\UNC\server\...).
// Short paths keep the ordinary form, which drops trailing dots and spaces as Windows users
// expect ("README." opens README).
std::wstring longPath(const std::wstring& path);

// A path given in the "\\?\" form, as an ordinary one: the compiler's own path rules know
// drive letters and shares, and longPath() adds the prefix again where needed.
std::wstring withoutLongPrefix(const std::wstring& path);

} // namespace folvane
