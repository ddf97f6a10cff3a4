#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>

namespace folvane {

RegularFileRead readRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    bytes.clear();
    const QFileInfo info(path);
    if (!info.isFile())
        return RegularFileRead::NotAFile;
    if (info.size() > maxBytes)
        return RegularFileRead::TooBig;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return RegularFileRead::Failed;
    // Bounded, in case the file grew since its size was taken.
    bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > maxBytes) {
        bytes.clear();
        return RegularFileRead::Failed;
    }
    return RegularFileRead::Ok;
}

} // namespace folvane
