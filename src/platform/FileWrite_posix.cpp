#include "platform/FileWrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folvane {

namespace {

FileWriteResult failure(int code) {
    FileWriteError error = FileWriteError::Other;
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        error = FileWriteError::PathNotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        error = FileWriteError::PermissionDenied;
        break;
    case ENOSPC:
    case EDQUOT:
        error = FileWriteError::DiskFull;
        break;
    default:
        break;
    }
    return {error, QString::fromLocal8Bit(std::strerror(code))};
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

// The file a chain of links ends at, so that replacing a link replaces its file.
QString followLinks(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// Short whatever the target's name, so that it fits where the target fits; the number
// tells targets apart for someone looking at a leftover.
QByteArray temporaryName(const QByteArray& folder, const QByteArray& targetName, int attempt) {
    std::uint32_t hash = 2166136261u;
    for (const char c : targetName)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    QByteArray name = folder + "/.folvane-" + QByteArray::number(hash, 16).rightJustified(8, '0') + '-' +
                      QByteArray::number(static_cast<qint64>(::getpid()));
    if (attempt > 0)
        name += '-' + QByteArray::number(attempt);
    return name + ".tmp";
}

FileWriteResult replaceFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo target(followLinks(path));
    const QByteArray targetPath = QFile::encodeName(target.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = temporaryName(folder, QFile::encodeName(target.fileName()), attempt);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failure(errno);
    }
    if (fd < 0)
        return failure(EEXIST);
    // Whoever could read the previous file can read the new one.
    struct stat previous {};
    if (::stat(targetPath.constData(), &previous) == 0)
        ::fchmod(fd, previous.st_mode & 07777);
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int code = errno;
    if (::close(fd) != 0 || !written) {
        const int reported = written ? errno : code;
        ::unlink(temporary.constData());
        return failure(reported);
    }
    if (::rename(temporary.constData(), targetPath.constData()) != 0) {
        const int reported = errno;
        ::unlink(temporary.constData());
        return failure(reported);
    }
    // The rename itself reaches the disk with its folder.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return {};
}

FileWriteResult writeInto(const QString& path, const QByteArray& bytes, bool append) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | (append ? O_APPEND : O_TRUNC);
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0)
        return failure(errno);
    bool ok = writeAll(fd, bytes);
    int code = errno;
    // Devices and pipes cannot be synced; only a failure of a real sync counts.
    if (ok && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS && errno != ENOTSUP) {
        ok = false;
        code = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    return ok ? FileWriteResult{} : failure(code);
}

} // namespace

FileWriteResult writeWholeFile(const QString& path, const QByteArray& bytes, FileWriteMode mode) {
    if (path.isEmpty())
        return failure(ENOENT);
    switch (mode) {
    case FileWriteMode::Replace:
        return replaceFile(path, bytes);
    case FileWriteMode::InPlace:
        return writeInto(path, bytes, false);
    case FileWriteMode::Append:
        break;
    }
    return writeInto(path, bytes, true);
}

} // namespace folvane
