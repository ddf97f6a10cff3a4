#include "chm/platform/InputFile.h"

#include "chm/compile/CompileError.h"
#include "chm/platform/LongPath_win.h"
#include "chm/platform/SystemError.h"
#include "chm/platform/Utf8Path.h"
#include "chm/platform/WindowsApi_win.h"

namespace folvane::chm {

namespace {
HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
} // namespace

InputFile::~InputFile() {
    close();
}

void InputFile::close() noexcept {
    if (handle_ >= 0)
        CloseHandle(asHandle(handle_));
    handle_ = -1;
}

bool InputFile::open(const std::filesystem::path& path, std::string& error) {
    close();
    path_ = path;
    HANDLE h = CreateFileW(longPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = lastSystemError();
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(h, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        GetFileType(h) != FILE_TYPE_DISK) {
        error = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? "是文件夹" : "不是普通文件";
        CloseHandle(h);
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    size_ = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return true;
}

std::size_t InputFile::read(std::span<std::uint8_t> buffer) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    if (!ReadFile(asHandle(handle_), buffer.data(), want, &got, nullptr))
        throw CompileError("无法读取文件：" + utf8FromPath(path_) + "：" + lastSystemError());
    return got;
}

} // namespace folvane::chm
