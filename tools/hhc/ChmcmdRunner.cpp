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
    projectFile_ = projectFile;
    mode_ = mode;
    searchDropped_ = false;
    if (!copy_.create(projectFile)) {
        finish(ProjectFailed, copy_.error());
        return;
    }
    for (const QString& name : copy_.skippedFiles())
        emit output(QStringLiteral("chmcmd 无法编入名称中含 \\ 的文件，已略过：") + name + u'\n');
    launch();
}

void ChmcmdRunner::launch() {
    const QString program = locate();
    if (program.isEmpty()) {
        finish(NotFound, QStringLiteral("找不到 chmcmd：请安装 fp-utils。"));
        return;
    }
    decoder_.resetState();
    process_.setProcessChannelMode(mode_ == Output::Forward ? QProcess::ForwardedChannels : QProcess::MergedChannels);
    process_.setWorkingDirectory(copy_.projectFolder());
    process_.start(program, {copy_.path()});
}

// chmcmd dies building the search index of a project without a single word; the help file
// is still worth having without search.
void ChmcmdRunner::retryWithoutSearch() {
    searchDropped_ = true;
    emit output(QStringLiteral("chmcmd 异常终止；关闭全文搜索后重新编译。\n"));
    if (!copy_.create(projectFile_, false)) {
        finish(ProjectFailed, copy_.error());
        return;
    }
    launch();
}

int ChmcmdRunner::waitForFinished() {
    // A retry starts the next run from inside the wait.
    while (running_) {
        if (process_.waitForFinished(-1))
            continue;
        processError(QProcess::UnknownError);
        if (running_)
            finish(Crashed, QStringLiteral("chmcmd 异常终止。"));
    }
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
    const bool died = exitStatus == QProcess::CrashExit || exitCode == UnhandledException;
    // A missing file kills chmcmd too; another run would not help.
    if (died && copy_.fullTextSearch() && copy_.allFilesExist() && !searchDropped_) {
        retryWithoutSearch();
        return;
    }
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
