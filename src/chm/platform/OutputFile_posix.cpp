#include "chm/platform/OutputFile.h"

#include "chm/compile/CompileError.h"
#include "chm/platform/SystemError.h"
#include "chm/platform/Utf8Path.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace folvane::chm {

namespace {
[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
    throw CompileError(what + "：" + utf8FromPath(path) + "：" + lastSystemError());
}
} // namespace

OutputFile::OutputFile(const std::filesystem::path& target) : target_(target) {
    // A name of our own in the target's folder: the rename stays on one file system.
    std::string stem = ".";
    stem += utf8FromPath(target.filename());
    stem += ".folvane-";
    for (int attempt = 0; attempt < 100 && handle_ < 0; ++attempt) {
        temporary_ = target.parent_path() /
                     pathFromUtf8(stem + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp");
        handle_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (handle_ < 0 && errno != EEXIST)
            fail("无法创建帮助文件", target);
    }
    if (handle_ < 0)
        fail("无法创建帮助文件", target);
}

OutputFile::~OutputFile() {
    close();
    if (!committed_)
        ::unlink(temporary_.c_str());
}

void OutputFile::close() noexcept {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

void OutputFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(static_cast<int>(handle_), bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("无法写入帮助文件", target_);
        done += static_cast<std::size_t>(n);
    }
}

void OutputFile::commit() {
    // Whoever could read the help file before can read the new one.
    struct stat previous = {};
    if (::stat(target_.c_str(), &previous) == 0)
        ::fchmod(static_cast<int>(handle_), previous.st_mode & 07777);
    if (::fsync(static_cast<int>(handle_)) != 0)
        fail("无法写入帮助文件", target_);
    const int closed = ::close(static_cast<int>(handle_));
    handle_ = -1;
    if (closed != 0)
        fail("无法写入帮助文件", target_);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        fail("无法替换帮助文件", target_);
    committed_ = true;
}

} // namespace folvane::chm
