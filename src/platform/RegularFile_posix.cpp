#include "platform/RegularFile.h"

#include "platform/FileName.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folvane {

namespace {
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};
} // namespace

RegularFileRead readRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    bytes.clear();
    if (path.isEmpty())
        return RegularFileRead::NotAFile;
    // Non-blocking, so that opening a pipe cannot hang; it is refused below anyway.
    const FileDescriptor fd(::open(fileSystemPath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        return RegularFileRead::NotAFile;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return RegularFileRead::NotAFile;
    if (info.st_size > maxBytes)
        return RegularFileRead::TooBig;
    // The size taken by fstat is what is read: a file growing meanwhile cannot push the
    // text past the limit.
    bytes.resize(static_cast<qsizetype>(info.st_size));
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            bytes.clear();
            return RegularFileRead::Failed;
        }
        if (n == 0)
            break;
        filled += n;
    }
    bytes.resize(filled);
    return RegularFileRead::Ok;
}

} // namespace folvane
