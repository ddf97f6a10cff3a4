#include "chm/platform/AbsolutePath.h"

#include "chm/platform/WindowsApi_win.h"

#include <string>

namespace folvane::chm {

// The standard library's absolute() takes \\server\share for a folder of the current drive.
std::filesystem::path absolutePath(const std::filesystem::path& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path;
        const bool fits = length < full.size();
        full.resize(length);
        if (fits)
            return full;
    }
}

} // namespace folvane::chm
