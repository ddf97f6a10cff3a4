#include "platform/WinFileSystemCalls_win.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
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

namespace {
DWORD writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_DISK_FULL;
        done += written;
    }
    return 0;
}

// Short whatever the target's name, so that it fits where the target fits.
std::wstring temporaryPath(const std::wstring& target, int attempt) {
    const std::size_t slash = target.find_last_of(L'\\');
    std::uint32_t hash = 2166136261u;
    for (const wchar_t c : target.substr(slash + 1))
        hash = (hash ^ static_cast<std::uint32_t>(c)) * 16777619u;
    wchar_t name[64];
    std::swprintf(name, 64, attempt == 0 ? L"~folvane-%08x-%lu.tmp" : L"~folvane-%08x-%lu-%d.tmp", hash,
                  GetCurrentProcessId(), attempt);
    return target.substr(0, slash + 1) + name;
}

DWORD replaceFile(const std::wstring& target, const std::string& bytes) {
    // A read-only file stays, as the rename would leave it on some file systems.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return ERROR_ACCESS_DENIED;
    std::wstring temporary;
    HANDLE raw = INVALID_HANDLE_VALUE;
    for (int attempt = 0; raw == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temporary = temporaryPath(target, attempt);
        raw = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (raw == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return GetLastError();
    }
    if (raw == INVALID_HANDLE_VALUE)
        return ERROR_FILE_EXISTS;
    DWORD error = writeAll(raw, bytes);
    if (error == 0 && !FlushFileBuffers(raw))
        error = GetLastError();
    if (!CloseHandle(raw) && error == 0)
        error = GetLastError();
    if (error == 0 &&
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != 0)
        DeleteFileW(temporary.c_str());
    return error;
}

DWORD writeInto(const std::wstring& path, const std::string& bytes, bool append) {
    const HANDLE raw = CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD error = writeAll(raw, bytes);
    // Devices and pipes have no buffers to flush on a disk.
    if (error == 0 && GetFileType(raw) == FILE_TYPE_DISK && !FlushFileBuffers(raw))
        error = GetLastError();
    if (!CloseHandle(raw) && error == 0)
        error = GetLastError();
    return error;
}
} // namespace

unsigned long WinFileSystemCalls::writeFile(const std::wstring& path, const std::string& bytes, WriteMode mode) {
    if (path.empty())
        return ERROR_PATH_NOT_FOUND;
    const std::wstring target = systemPath(path);
    switch (mode) {
    case WriteMode::Replace:
        return replaceFile(target, bytes);
    case WriteMode::InPlace:
        return writeInto(target, bytes, false);
    case WriteMode::Append:
        break;
    }
    return writeInto(target, bytes, true);
}

} // namespace folvane
