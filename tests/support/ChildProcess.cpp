#include "support/ChildProcess.h"

#include <QFile>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace folvane::test {

namespace {
constexpr int kUnsupported = 3;
constexpr uid_t kNobody = 65534;

bool writeProcFile(const char* path, const QByteArray& text) {
    const int fd = open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size();
    close(fd);
    return ok;
}

bool becomeUnprivileged() {
    if (geteuid() != 0)
        return true;
    return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0 && geteuid() == kNobody;
}

bool enterPrivateMounts() {
    if (geteuid() != 0) {
        // A user namespace gives an ordinary user the right to mount inside it.
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        writeProcFile("/proc/self/setgroups", "deny");
        if (!writeProcFile("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1") ||
            !writeProcFile("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1"))
            return false;
    } else if (unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    return mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool setUp(ChildSetup setup) {
    return setup == ChildSetup::Unprivileged ? becomeUnprivileged() : enterPrivateMounts();
}

void writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0 && errno != EINTR)
            return;
        if (n > 0)
            done += n;
    }
}

QByteArray readAll(int fd) {
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0)
            bytes.append(buffer, n);
        else if (n == 0 || errno != EINTR)
            return bytes;
    }
}
} // namespace

std::optional<QStringList> runInChild(ChildSetup setup, const std::function<QStringList()>& work) {
    int fds[2];
    if (pipe(fds) != 0)
        return QStringList{QStringLiteral("pipe failed")};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        return QStringList{QStringLiteral("fork failed")};
    if (pid == 0) {
        close(fds[0]);
        if (!setUp(setup))
            _exit(kUnsupported);
        writeAll(fds[1], work().join(QChar(u'\0')).toUtf8());
        _exit(0);
    }
    close(fds[1]);
    const QByteArray answer = readAll(fds[0]);
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kUnsupported)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringList{QStringLiteral("child failed with status %1").arg(status)};
    return answer.isEmpty() ? QStringList{} : QString::fromUtf8(answer).split(QChar(u'\0'));
}

bool mountTmpfs(const QString& folder, qint64 bytes) {
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    return mount("none", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0;
}

bool remountReadOnly(const QString& folder) {
    return mount("none", QFile::encodeName(folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool bindMount(const QString& file, const QString& target) {
    return mount(QFile::encodeName(file).constData(), QFile::encodeName(target).constData(), nullptr, MS_BIND,
                 nullptr) == 0;
}

} // namespace folvane::test
