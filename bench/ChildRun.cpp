#include "ChildRun.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace folvane {

namespace {
std::vector<char*> pointersTo(std::vector<QByteArray>& strings) {
    std::vector<char*> pointers;
    for (QByteArray& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Ours with `additions` put in, each replacing a variable of the same name.
std::vector<QByteArray> environmentWith(const QStringList& additions) {
    std::vector<QByteArray> all;
#ifdef Q_OS_UNIX
    for (char** e = environ; *e != nullptr; ++e) {
        const QByteArray variable(*e);
        const QByteArray name = variable.left(variable.indexOf('=') + 1);
        const bool replaced = std::any_of(additions.begin(), additions.end(),
                                          [&](const QString& a) { return a.toLocal8Bit().startsWith(name); });
        if (!replaced)
            all.push_back(variable);
    }
#endif
    for (const QString& a : additions)
        all.push_back(a.toLocal8Bit());
    return all;
}
} // namespace

// wait4 rather than QProcess: it gives the child's own peak resident size.
ChildRun ChildRun::of(const QString& program, const QStringList& arguments, const QString& outFile,
                      const QStringList& environment) {
    ChildRun run;
#ifdef Q_OS_UNIX
    std::vector<QByteArray> args{program.toLocal8Bit()};
    for (const QString& a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char*> argv = pointersTo(args);
    std::vector<QByteArray> env = environmentWith(environment);
    std::vector<char*> envp = pointersTo(env);
    const QByteArray outPath = outFile.toLocal8Bit();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    struct rusage usage = {};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    QFile out(outFile);
    if (out.open(QIODevice::ReadOnly))
        run.out = out.readAll();
#else
    Q_UNUSED(program)
    Q_UNUSED(arguments)
    Q_UNUSED(outFile)
    Q_UNUSED(environment)
#endif
    return run;
}

} // namespace folvane
