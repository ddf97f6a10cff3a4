#include "platform/FileName.h"

#include "platform/AnsiCodePage.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folvane {

namespace {
bool exists(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0;
}

bool isAscii(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}
} // namespace

QByteArray fileSystemPath(const QString& path) {
    const QByteArray utf8 = QFile::encodeName(path);
    if (isAscii(path) || exists(utf8))
        return utf8;
    // Step by step, so that a folder read in the code page may hold UTF-8 names and back.
    QByteArray built;
    const QStringList steps = path.split(u'/');
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (i > 0)
            built += '/';
        QByteArray step = QFile::encodeName(steps[i]);
        if (!isAscii(steps[i]) && !exists(built + step)) {
            if (const std::optional<QByteArray> ansi = encodeAnsiFileName(steps[i]); ansi && exists(built + *ansi))
                step = *ansi;
        }
        built += step;
    }
    return built;
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
