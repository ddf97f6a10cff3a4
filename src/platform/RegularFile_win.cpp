#include "platform/RegularFile.h"

#include "platform/WinFileSystemCalls_win.h"

#include <string>

namespace folvane {

RegularFileRead readRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    std::string read;
    const auto result = WinFileSystemCalls::readFile(path.toStdWString(), maxBytes, read);
    bytes =
        result == WinFileSystemCalls::ReadResult::Ok ? QByteArray(read.data(), qsizetype(read.size())) : QByteArray();
    switch (result) {
    case WinFileSystemCalls::ReadResult::Ok:
        return RegularFileRead::Ok;
    case WinFileSystemCalls::ReadResult::TooBig:
        return RegularFileRead::TooBig;
    case WinFileSystemCalls::ReadResult::Failed:
        return RegularFileRead::Failed;
    case WinFileSystemCalls::ReadResult::NotAFile:
        break;
    }
    return RegularFileRead::NotAFile;
}

} // namespace folvane
