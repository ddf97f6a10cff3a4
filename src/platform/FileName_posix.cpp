#include "platform/FileName.h"

#include "base/NativeName.h"
#include "base/SystemLocale.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace folvane {

QByteArray fileSystemPath(const QString& path) {
    return QByteArray::fromStdString(nativeSpelling(path.toStdString(), systemAnsiCodePage()));
}

std::filesystem::path nativePath(const QString& path) {
    return fileSystemPath(path).toStdString();
}

bool openForReading(QFile& file, const QString& path) {
    const int fd = ::open(fileSystemPath(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

} // namespace folvane
