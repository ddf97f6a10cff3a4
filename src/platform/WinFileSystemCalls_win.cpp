#include "platform/WinFileSystemCalls_win.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <memory>

namespace folvane {

namespace {
struct FindCloser {
    void operator()(HANDLE h) const { FindClose(h); }
};
struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

const std::wstring kLongPrefix = L"\\\\?\\";
// Paths this long fail in the ordinary form (folders need room for an 8.3 name).
constexpr std::size_t kOrdinaryLimit = MAX_PATH - 12;

// The full path, with "\\?\" only when it is needed: the ordinary form drops a trailing dot,
// so the listed name README. opens README.
std::wstring systemPath(const std::wstring& path) {
    if (path.starts_with(kLongPrefix))
        return path;
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path;
        const bool fits = length < full.size();
        full.resize(length);
        if (fits)
            break;
    }
    if (full.size() < kOrdinaryLimit || full.starts_with(L"\\\\.\\"))
        return full;
    return full.starts_with(L"\\\\") ? kLongPrefix + L"UNC\\" + full.substr(2) : kLongPrefix + full;
}

bool isDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}
} // namespace

bool WinFileSystemCalls::folderId(const std::wstring& folder, FolderId& id) {
    const HANDLE raw = CreateFileW(systemPath(folder).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        return false;
    const OwnedHandle handle(raw);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(raw, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return false;
    id = {info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return true;
}

bool WinFileSystemCalls::listFolder(const std::wstring& folder, const Visitor& visit) {
    std::wstring pattern = systemPath(folder);
    if (!pattern.ends_with(L'\\'))
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    const HANDLE raw = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                        FIND_FIRST_EX_LARGE_FETCH);
    if (raw == INVALID_HANDLE_VALUE)
        return false;
    const std::unique_ptr<void, FindCloser> find(raw);
    do {
        if (!isDotOrDotDot(data.cFileName))
            visit(data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(raw, &data));
    return true;
}

WinFileSystemCalls::ReadResult WinFileSystemCalls::readFile(const std::wstring& path, std::int64_t maxBytes,
                                                            std::string& bytes) {
    bytes.clear();
    if (path.empty())
        return ReadResult::NotAFile;
    const HANDLE raw =
        CreateFileW(systemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        return ReadResult::NotAFile;
    const OwnedHandle handle(raw);
    // Folders do not open without backup semantics; devices and pipes are no disk files.
    LARGE_INTEGER size{};
    if (GetFileType(raw) != FILE_TYPE_DISK || !GetFileSizeEx(raw, &size))
        return ReadResult::NotAFile;
    if (size.QuadPart > maxBytes)
        return ReadResult::TooBig;
    // The size taken at opening is what is read: a file growing meanwhile cannot push the
    // text past the limit.
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(raw, bytes.data() + filled, want, &got, nullptr)) {
            bytes.clear();
            return ReadResult::Failed;
        }
        if (got == 0)
            break;
        filled += got;
    }
    bytes.resize(filled);
    return ReadResult::Ok;
}

} // namespace folvane
