#include "chm/platform/OutputFile.h"

#include "chm/compile/CompileError.h"
#include "chm/platform/LongPath_win.h"
#include "chm/platform/SystemError.h"
#include "chm/platform/Utf8Path.h"
#include "chm/platform/WindowsApi_win.h"

#include <string>

namespace folvane::chm {

namespace {
[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
    throw CompileError(what + "：" + utf8FromPath(path) + "：" + lastSystemError());
}

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
} // namespace

OutputFile::OutputFile(const std::filesystem::path& target) : target_(target) {
    const std::wstring stem = L"~" + target.filename().wstring() + L".folvane-";
    for (int attempt = 0; attempt < 100 && handle_ < 0; ++attempt) {
        temporary_ = target.parent_path() /
                     (stem + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) + L".tmp");
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
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED at = {};
        const std::uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(asHandle(handle_), bytes.data() + done, chunk, &written, &at) || written == 0)
            fail("无法写入帮助文件", target_);
        done += written;
    }
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
