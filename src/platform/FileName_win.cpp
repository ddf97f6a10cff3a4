#include "platform/FileName.h"

#include <QFile>

namespace folvane {

QByteArray fileSystemPath(const QString& path) {
    return QFile::encodeName(path);
}

std::filesystem::path nativePath(const QString& path) {
    return path.toStdWString();
}

bool openForReading(QFile& file, const QString& path) {
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly);
}

} // namespace folvane
