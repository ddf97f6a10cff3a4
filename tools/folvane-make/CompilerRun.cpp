#include "folvane-make/CompilerRun.h"

#include "platform/ChildLifetime.h"

#include <QDateTime>
#include <QFileInfo>
#include <QIODevice>
#include <QProcess>

namespace folvane {

namespace {
constexpr int kPollMs = 100;

struct OutputState {
    bool exists = false;
    QDateTime modified;

    static OutputState of(const QString& path) {
        const QFileInfo info(path);
        return {info.isFile(), info.isFile() ? info.lastModified() : QDateTime()};
    }
};
} // namespace

CompilerRun::CompilerRun(CompilerCommand command, QIODevice& out, bool quiet)
    : command_(std::move(command)), out_(out), quiet_(quiet) {}

bool CompilerRun::fail(const QString& why) {
    failure_ = why;
    if (quiet_) {
        if (droppedBytes_ > 0)
            out_.write(
                QStringLiteral("[...%1 bytes of compiler output left out...]\n").arg(droppedBytes_).toLocal8Bit());
        out_.write(held_);
    }
    held_.clear();
    return false;
}

void CompilerRun::pass(const QByteArray& bytes) {
    if (!quiet_) {
        out_.write(bytes);
        return;
    }
    held_ += bytes;
    // Trimmed in large steps, so that a chatty compiler does not move the buffer per line.
    if (held_.size() > 2 * kHeldBytes) {
        const qsizetype drop = held_.size() - kHeldBytes;
        held_.remove(0, drop);
        droppedBytes_ += drop;
    }
}

bool CompilerRun::waitAndForward(QProcess& process) {
    while (process.state() != QProcess::NotRunning) {
        process.waitForFinished(kPollMs);
        pass(process.readAll());
    }
    pass(process.readAll());
    return process.exitStatus() == QProcess::NormalExit;
}

bool CompilerRun::run(const QString& projectFile, const QString& outputFile) {
    failure_.clear();
    held_.clear();
    droppedBytes_ = 0;
    const QString& compiler = command_.program();
    if (!QFileInfo(compiler).isFile())
        return fail(QStringLiteral("help compiler not found: %1").arg(compiler));

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProgram(compiler);
#ifdef Q_OS_WIN
    process.setNativeArguments(command_.windowsArguments(projectFile));
#else
    process.setArguments(command_.arguments(projectFile));
#endif
    const OutputState before = OutputState::of(outputFile);
    endWithThisProgram(process);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return fail(QStringLiteral("the help compiler did not start: %1: %2").arg(compiler, process.errorString()));
    endWithThisProgram(process.processId());
    if (!waitAndForward(process))
        return fail(QStringLiteral("the help compiler crashed"));
    if (!CompilerCommand::succeeded(process.exitCode()))
        return fail(QStringLiteral("the help compiler failed (exit status %1)").arg(process.exitCode()));
    const OutputState after = OutputState::of(outputFile);
    if (!after.exists || (before.exists && after.modified == before.modified))
        return fail(QStringLiteral("the help compiler wrote no output file: %1").arg(outputFile));
    held_.clear();
    return true;
}

} // namespace folvane
