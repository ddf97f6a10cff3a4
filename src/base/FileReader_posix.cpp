#include "base/FileReader.h"

#include "base/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folvane {

void FileReader::close() noexcept {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

FileReader::Status FileReader::open(const std::filesystem::path& path) {
    close();
    // Non-blocking, so that opening a pipe cannot hang; it is refused below anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        systemError_ = lastSystemError();
        return Status::CannotOpen;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return S_ISDIR(info.st_mode) ? Status::Folder : Status::NotRegular;
    }
    handle_ = fd;
    size_ = static_cast<std::uint64_t>(info.st_size);
    return Status::Ok;
}

std::optional<std::size_t> FileReader::read(std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(handle_), buffer.data(), buffer.size());
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR) {
            systemError_ = lastSystemError();
            return std::nullopt;
        }
    }
}

} // namespace folvane
