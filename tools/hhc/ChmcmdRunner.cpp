#include "hhc/ChmcmdRunner.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace folvane {

ChmcmdRunner::ChmcmdRunner(QObject* parent) : QObject(parent) {
    connect(&process_, &QProcess::readyReadStandardOutput, this, &ChmcmdRunner::readOutput);
    connect(&process_, &QProcess::finished, this, &ChmcmdRunner::processFinished);
    connect(&process_, &QProcess::errorOccurred, this, &ChmcmdRunner::processError);
}

ChmcmdRunner::~ChmcmdRunner() {
    // The process must not report into a half-destroyed runner.
    process_.disconnect(this);
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

QString ChmcmdRunner::locate() {
    const QString chosen = qEnvironmentVariable("FOLVANE_CHMCMD");
    if (chosen.isEmpty())
        return QStandardPaths::findExecutable(QStringLiteral("chmcmd"));
    if (!chosen.contains(u'/'))
        return QStandardPaths::findExecutable(chosen);
    const QFileInfo info(chosen);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

void ChmcmdRunner::start(const QString& projectFile, Output mode) {
    if (running_)
        return;
    running_ = true;
    status_ = 0;
    if (!copy_.create(projectFile)) {
        finish(ProjectFailed, copy_.error());
        return;
    }
    const QString program = locate();
    if (program.isEmpty()) {
        finish(NotFound, QStringLiteral("找不到 chmcmd：请安装 fp-utils。"));
        return;
    }
    decoder_.resetState();
    process_.setProcessChannelMode(mode == Output::Forward ? QProcess::ForwardedChannels : QProcess::MergedChannels);
    process_.setWorkingDirectory(copy_.projectFolder());
    process_.start(program, {copy_.path()});
}

int ChmcmdRunner::waitForFinished() {
    if (running_ && !process_.waitForFinished(-1) && running_)
        processError(QProcess::UnknownError);
    return status_;
}

void ChmcmdRunner::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished();
}

void ChmcmdRunner::readOutput() {
    const QString text = decoder_(process_.readAllStandardOutput());
    if (!text.isEmpty())
        emit output(text);
}

void ChmcmdRunner::processFinished(int exitCode, QProcess::ExitStatus exitStatus) {
    readOutput();
    if (exitStatus == QProcess::CrashExit)
        finish(Crashed, QStringLiteral("chmcmd 异常终止。"));
    else
        finish(exitCode);
}

void ChmcmdRunner::processError(QProcess::ProcessError error) {
    // A crash is reported by finished() as well.
    if (!running_ || error == QProcess::Crashed)
        return;
    if (error == QProcess::FailedToStart) {
        finish(CannotStart, QStringLiteral("chmcmd 无法启动：\n") + process_.program());
        return;
    }
    if (process_.state() == QProcess::NotRunning)
        finish(Crashed, QStringLiteral("chmcmd 异常终止。"));
}

void ChmcmdRunner::finish(int status, const QString& message) {
    copy_.remove();
    status_ = status;
    running_ = false;
    if (!message.isEmpty())
        emit output(message + u'\n');
    emit finished(status);
}

} // namespace folvane
