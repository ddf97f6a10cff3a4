#include "chm/platform/OutputFile.h"

#include "base/LongPath_win.h"
#include "base/SystemError.h"
#include "base/WindowsApi_win.h"
#include "chm/CompileError.h"
#include "chm/platform/PositionedIo.h"
#include "chm/platform/Utf8Path.h"

#include <cstdint>
#include <cwchar>
#include <string>

namespace folvane::chm {

namespace {
[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
    throw CompileError(what + "：" + utf8FromPath(path) + "：" + lastSystemError());
}

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::wstring temporaryPrefix(const std::filesystem::path& target) {
    std::uint32_t hash = 2166136261u;
    for (const char c : utf8FromPath(target.filename()))
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    wchar_t text[32];
    std::swprintf(text, 32, L"~folvane-%08x-", hash);
    return text;
}

// A file being written is open without sharing, so only leftovers of killed compiles give
// way; older versions named them after the target.
void removeStaleTemporaries(const std::filesystem::path& target) {
    for (const std::wstring& prefix : {temporaryPrefix(target), L"~" + target.filename().wstring() + L".folvane-"}) {
        WIN32_FIND_DATAW data{};
        const HANDLE find = FindFirstFileW(longPath(target.parent_path() / (prefix + L"*.tmp")).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            DeleteFileW(longPath(target.parent_path() / data.cFileName).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
}
} // namespace

OutputFile::OutputFile(const std::filesystem::path& target) : target_(target) {
    removeStaleTemporaries(target);
    const std::wstring stem = temporaryPrefix(target) + std::to_wstring(GetCurrentProcessId());
    for (int attempt = 0; attempt < 100 && handle_ < 0; ++attempt) {
        temporary_ = target.parent_path() / (stem + (attempt > 0 ? L"-" + std::to_wstring(attempt) : L"") + L".tmp");
        HANDLE h = CreateFileW(longPath(temporary_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            handle_ = reinterpret_cast<std::intptr_t>(h);
        else if (GetLastError() != ERROR_FILE_EXISTS)
            fail("无法创建帮助文件", target);
    }
    if (handle_ < 0)
        fail("无法创建帮助文件", target);
}

OutputFile::~OutputFile() {
    close();
    if (!committed_)
        DeleteFileW(longPath(temporary_).c_str());
}

void OutputFile::close() noexcept {
    if (handle_ >= 0)
        CloseHandle(asHandle(handle_));
    handle_ = -1;
}

void OutputFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (!writeAllAt(handle_, offset, bytes))
        fail("无法写入帮助文件", target_);
}

void OutputFile::commit() {
    if (!FlushFileBuffers(asHandle(handle_)))
        fail("无法写入帮助文件", target_);
    close();
    if (!MoveFileExW(longPath(temporary_).c_str(), longPath(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail("无法替换帮助文件（是否正在被打开？）", target_);
    committed_ = true;
}

} // namespace folvane::chm
