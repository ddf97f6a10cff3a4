#include "chm/platform/OutputFile.h"

#include "base/SystemError.h"
#include "chm/CompileError.h"
#include "chm/platform/PositionedIo.h"
#include "chm/platform/Utf8Path.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folvane::chm {

namespace {
std::string reason() {
    // A file-size limit (ulimit -f) makes a write fail this way once SIGXFSZ is ignored.
    if (errno == EFBIG)
        return "超过了系统允许的文件大小（ulimit -f）";
    return lastSystemError();
}

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path) {
    throw CompileError(what + "：" + utf8FromPath(path) + "：" + reason());
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool processIsGone(const std::string& digits) {
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
        return false;
    return ::kill(static_cast<pid_t>(std::stol(digits)), 0) != 0 && errno == ESRCH;
}

// A temporary file whose writer is gone: ours hold a lock on it while they write; the
// names of older versions carry the writer's process number.
bool isStale(int folder, const std::string& name, const std::string& ownPrefix, const std::string& olderPrefix) {
    if (name.starts_with(olderPrefix)) {
        const std::string rest = name.substr(olderPrefix.size());
        return processIsGone(rest.substr(0, rest.find('-')));
    }
    if (!name.starts_with(ownPrefix))
        return false;
    const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool unlocked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return unlocked;
}

// Short whatever the output's name, and the same for every compile of that output.
std::string temporaryPrefix(const std::filesystem::path& target) {
    std::uint32_t hash = 2166136261u;
    for (const char c : utf8FromPath(target.filename()))
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char text[32];
    std::snprintf(text, sizeof text, ".folvane-%08x-", hash);
    return text;
}

void removeStaleTemporaries(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return;
    const std::string own = temporaryPrefix(target);
    std::string older = ".";
    older += utf8FromPath(target.filename());
    older += ".folvane-";
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name.ends_with(".tmp") && isStale(::dirfd(dir.get()), name, own, older))
            ::unlinkat(::dirfd(dir.get()), name.c_str(), 0);
    }
}

} // namespace

OutputFile::OutputFile(const std::filesystem::path& target) : target_(target) {
    removeStaleTemporaries(target);
    // A short name of our own in the target's folder: the rename stays on one file system,
    // and the name fits wherever the target's does.
    const std::string stem = temporaryPrefix(target) + std::to_string(getpid());
    for (int attempt = 0; attempt < 100 && handle_ < 0; ++attempt) {
        std::string name = stem;
        if (attempt > 0)
            name += '-' + std::to_string(attempt);
        name += ".tmp";
        temporary_ = target.parent_path() / name;
        handle_ = ::open(temporary_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (handle_ < 0 && errno != EEXIST)
            fail("无法创建帮助文件", target);
    }
    if (handle_ < 0)
        fail("无法创建帮助文件", target);
    // Held until the file is in place: a later compile tells a leftover by the missing lock.
    lock_ = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
    if (lock_ >= 0)
        ::flock(static_cast<int>(lock_), LOCK_EX | LOCK_NB);
}

OutputFile::~OutputFile() {
    close();
    if (!committed_)
        ::unlink(temporary_.c_str());
    if (lock_ >= 0)
        ::close(static_cast<int>(lock_));
}

void OutputFile::close() noexcept {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
    handle_ = -1;
}

void OutputFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (!writeAllAt(handle_, offset, bytes))
        fail("无法写入帮助文件", target_);
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
