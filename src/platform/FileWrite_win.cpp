#include "platform/FileWrite.h"

#include "platform/WinFileSystemCalls_win.h"

#include <QtGlobal>

#include <string>

namespace folvane {

namespace {
FileWriteError errorKind(unsigned long code) {
    switch (code) {
    case 2:   // ERROR_FILE_NOT_FOUND
    case 3:   // ERROR_PATH_NOT_FOUND
    case 123: // ERROR_INVALID_NAME
        return FileWriteError::PathNotFound;
    case 5:  // ERROR_ACCESS_DENIED
    case 19: // ERROR_WRITE_PROTECT
    case 32: // ERROR_SHARING_VIOLATION
    case 33: // ERROR_LOCK_VIOLATION
        return FileWriteError::PermissionDenied;
    case 39:  // ERROR_HANDLE_DISK_FULL
    case 112: // ERROR_DISK_FULL
        return FileWriteError::DiskFull;
    default:
        return FileWriteError::Other;
    }
}

WinFileSystemCalls::WriteMode callMode(FileWriteMode mode) {
    switch (mode) {
    case FileWriteMode::Replace:
        return WinFileSystemCalls::WriteMode::Replace;
    case FileWriteMode::InPlace:
        return WinFileSystemCalls::WriteMode::InPlace;
    case FileWriteMode::Append:
        break;
    }
    return WinFileSystemCalls::WriteMode::Append;
}
} // namespace

FileWriteResult writeWholeFile(const QString& path, const QByteArray& bytes, FileWriteMode mode) {
    const unsigned long code = WinFileSystemCalls::writeFile(
        path.toStdWString(), std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), callMode(mode));
    if (code == 0)
        return {};
    return {errorKind(code), qt_error_string(static_cast<int>(code))};
}

} // namespace folvane
