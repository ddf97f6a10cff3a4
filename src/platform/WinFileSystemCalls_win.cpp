#include "platform/WinFileSystemCalls_win.h"

#include "base/LongPath_win.h"
#include "base/WindowsApi_win.h"

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

bool isDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}
} // namespace

bool WinFileSystemCalls::folderId(const std::wstring& folder, FolderId& id) {
    const HANDLE raw = CreateFileW(longPath(folder).c_str(), FILE_READ_ATTRIBUTES,
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
    std::wstring pattern = longPath(folder);
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
    const std::wstring target = longPath(path);
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
