#include "chm/platform/InputFile.h"

#include "chm/compile/CompileError.h"
#include "chm/platform/SystemError.h"
#include "chm/platform/Utf8Path.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folvane::chm {

InputFile::~InputFile() {
    close();
}

void InputFile::close() noexcept {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

bool InputFile::open(const std::filesystem::path& path, std::string& error) {
    close();
    path_ = path;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = lastSystemError();
        return false;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? "是文件夹" : "不是普通文件";
        ::close(fd);
        return false;
    }
    handle_ = fd;
    size_ = static_cast<std::uint64_t>(info.st_size);
    return true;
}

std::size_t InputFile::read(std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(handle_), buffer.data(), buffer.size());
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            throw CompileError("无法读取文件：" + utf8FromPath(path_) + "：" + lastSystemError());
    }
}

} // namespace folvane::chm
