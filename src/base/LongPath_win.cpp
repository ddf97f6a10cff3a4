#include "base/LongPath_win.h"

#include "base/WindowsApi_win.h"

namespace folvane {

namespace {
const std::wstring kLongPrefix = L"\\\\?\\";
const std::wstring kLongUncPrefix = L"\\\\?\\UNC\\";

// Paths this long fail in the ordinary form (folders need room for an 8.3 name).
constexpr std::size_t kOrdinaryLimit = MAX_PATH - 12;
} // namespace

// The standard library's absolute() takes \\server\share for a folder of the current drive.
std::wstring fullPath(const std::wstring& path) {
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

std::wstring withoutLongPrefix(const std::wstring& path) {
    if (path.starts_with(kLongUncPrefix))
        return L"\\\\" + path.substr(kLongUncPrefix.size());
    if (path.starts_with(kLongPrefix))
        return path.substr(kLongPrefix.size());
    return path;
}

std::wstring longPath(const std::wstring& path) {
    if (path.starts_with(kLongPrefix))
        return path;
    std::wstring full = fullPath(path);
    if (full.size() < kOrdinaryLimit)
        return full;
    if (full.starts_with(L"\\\\.\\"))
        return full; // a device
    if (full.starts_with(L"\\\\"))
        return kLongUncPrefix + full.substr(2);
    return kLongPrefix + full;
}

} // namespace folvane
