#include "platform/RegularFile.h"

#include "platform/FileName.h"

#include "base/FileReader.h"

#include <algorithm>
#include <string>

namespace folvane {

RegularFileRead readRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    FileReader file;
    std::string read;
    const FileReader::Status status =
        file.readAll(nativePath(path), std::uint64_t(std::max<qint64>(maxBytes, 0)), read);
    bytes = status == FileReader::Status::Ok ? QByteArray(read.data(), qsizetype(read.size())) : QByteArray();
    switch (status) {
    case FileReader::Status::Ok:
        return RegularFileRead::Ok;
    case FileReader::Status::TooBig:
        return RegularFileRead::TooBig;
    case FileReader::Status::ReadFailed:
        return RegularFileRead::Failed;
    default:
        return RegularFileRead::NotAFile;
    }
}

} // namespace folvane
