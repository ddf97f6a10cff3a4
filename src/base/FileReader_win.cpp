#include "base/FileReader.h"

#include "base/LongPath_win.h"
#include "base/SystemError.h"
#include "base/WindowsApi_win.h"

#include <algorithm>

namespace folvane {

namespace {
HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
} // namespace

void FileReader::close() noexcept {
    if (handle_ >= 0)
        CloseHandle(asHandle(handle_));
    handle_ = -1;
}

FileReader::Status FileReader::open(const std::filesystem::path& path) {
    close();
    HANDLE h = CreateFileW(longPath(path.native()).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        systemError_ = lastSystemError();
        return Status::CannotOpen;
    }
    // Folders open only with backup semantics; devices and pipes are no disk files.
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(h, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Status::Folder : Status::NotRegular;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    size_ = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return Status::Ok;
}

std::optional<std::size_t> FileReader::read(std::span<std::uint8_t> buffer) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    if (!ReadFile(asHandle(handle_), buffer.data(), want, &got, nullptr)) {
        systemError_ = lastSystemError();
        return std::nullopt;
    }
    return got;
}

} // namespace folvane
