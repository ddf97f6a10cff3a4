#include "chm/platform/ScratchFile.h"

#include "base/LongPath_win.h"
#include "base/SystemError.h"
#include "base/WindowsApi_win.h"
#include "chm/CompileError.h"
#include "chm/platform/Utf8Path.h"

#include <string>

namespace folvane::chm {

namespace {
HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
} // namespace

ScratchFile::ScratchFile(const std::filesystem::path& folder) : folder_(folder.empty() ? "." : folder) {
    for (int attempt = 0; handle_ < 0 && attempt < 100; ++attempt) {
        const std::filesystem::path named = folder_ / (L"~folvane-scratch-" + std::to_wstring(GetCurrentProcessId()) +
                                                       L"-" + std::to_wstring(attempt) + L".tmp");
        const HANDLE h =
            CreateFileW(longPath(named).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            handle_ = reinterpret_cast<std::intptr_t>(h);
        else if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (handle_ < 0)
        fail("无法创建临时文件");
}

ScratchFile::~ScratchFile() {
    if (handle_ >= 0)
        CloseHandle(asHandle(handle_));
}

void ScratchFile::fail(const char* what) const {
    throw CompileError(std::string(what) + "（在 " + utf8FromPath(folder_) + "）：" + lastSystemError());
}

} // namespace folvane::chm
