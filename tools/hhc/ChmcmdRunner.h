#pragma once

#include "hhc/ProjectCopy.h"

#include <QObject>
#include <QProcess>
#include <QStringDecoder>

namespace folvane {

// One compile: writes the project copy, runs chmcmd on it from the project folder and
// removes the copy however the run ends.
class ChmcmdRunner : public QObject {
    Q_OBJECT
public:
    enum class Output {
        Forward, // chmcmd writes straight to this process's standard output and error
        Capture, // chmcmd's output arrives through output()
    };

    static constexpr int ProjectFailed = 1;
    static constexpr int Crashed = 1;
    static constexpr int CannotStart = 126;
    static constexpr int NotFound = 127;
    // The exit status of a Free Pascal program that ends on an unhandled exception.
    static constexpr int UnhandledException = 217;

    explicit ChmcmdRunner(QObject* parent = nullptr);
    ~ChmcmdRunner() override;

    // The chmcmd to run: FOLVANE_CHMCMD (a path, or a name looked up on PATH) or chmcmd on PATH;
    // empty when there is none.
    static QString locate();

    // Starts the compile; finished() follows, at once when the run cannot start.
    void start(const QString& projectFile, Output mode);
    // Blocks until the run has ended; returns its status.
    int waitForFinished();
    // Ends a running chmcmd.
    void stop();

    bool isRunning() const { return running_; }
    int exitStatus() const { return status_; }
    const QString& outputFile() const { return copy_.outputFile(); }

signals:
    // Messages of this adapter, and chmcmd's output in capture mode.
    void output(const QString& text);
    void finished(int status);

private:
    void launch();
    void retryWithoutSearch();
    void readOutput();
    void processFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void processError(QProcess::ProcessError error);
    void finish(int status, const QString& message = {});

    QProcess process_;
    ProjectCopy copy_;
    QStringDecoder decoder_{QStringConverter::System};
    QString projectFile_;
    Output mode_ = Output::Forward;
    int status_ = 0;
    bool running_ = false;
    bool searchDropped_ = false;
};

} // namespace folvane
