#include "chm/platform/PositionedIo.h"

#include "base/WindowsApi_win.h"

#include <algorithm>

namespace folvane::chm {

namespace {
OVERLAPPED at(std::uint64_t position) {
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(position);
    where.OffsetHigh = static_cast<DWORD>(position >> 32);
    return where;
}

DWORD chunk(std::size_t left) {
    return static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
}
} // namespace

bool writeAllAt(std::intptr_t handle, std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        OVERLAPPED where = at(offset + done);
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(handle), bytes.data() + done, chunk(bytes.size() - done), &written,
                       &where) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

bool readAllAt(std::intptr_t handle, std::uint64_t offset, std::span<std::uint8_t> bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        OVERLAPPED where = at(offset + done);
        DWORD got = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(handle), bytes.data() + done, chunk(bytes.size() - done), &got,
                      &where) ||
            got == 0)
            return false;
        done += got;
    }
    return true;
}

} // namespace folvane::chm
