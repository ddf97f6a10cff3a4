#include "chm/platform/SystemMemory.h"

#include "base/WindowsApi_win.h"

namespace folvane::chm {

std::uint64_t usableMemoryBytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

} // namespace folvane::chm
