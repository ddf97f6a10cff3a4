#include "chm/platform/LongPath_win.h"

#include "chm/platform/AbsolutePath.h"

#include "chm/platform/WindowsApi_win.h"

namespace folvane::chm {

namespace {
const std::wstring kLongPrefix = L"\\\\?\\";
const std::wstring kLongUncPrefix = L"\\\\?\\UNC\\";

// Paths this long fail in the ordinary form (folders need room for an 8.3 name).
constexpr std::size_t kOrdinaryLimit = MAX_PATH - 12;
} // namespace

std::wstring withoutLongPrefix(const std::wstring& path) {
    if (path.starts_with(kLongUncPrefix))
        return L"\\\\" + path.substr(kLongUncPrefix.size());
    if (path.starts_with(kLongPrefix))
        return path.substr(kLongPrefix.size());
    return path;
}

std::wstring longPath(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    if (native.starts_with(kLongPrefix))
        return native;
    std::wstring full = absolutePath(path).native();
    if (full.size() < kOrdinaryLimit)
        return full;
    if (full.starts_with(L"\\\\.\\"))
        return full; // a device
    if (full.starts_with(L"\\\\"))
        return kLongUncPrefix + full.substr(2);
    return kLongPrefix + full;
}

} // namespace folvane::chm
