// hhc: compiles an HTML Help project with chmcmd, in place of the Windows help compiler.
#include "hhc/ChmcmdRunner.h"
#include "hhc/HhcWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFont>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace folvane;

namespace {

constexpr int UsageStatus = 2;

void printError(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

bool wantsWindow() {
    if (isatty(STDOUT_FILENO) || qEnvironmentVariable("FOLVANE_HHC_NO_WINDOW") == u"1")
        return false;
    // Without a display there is nobody to show a window to.
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

void ignoreSignal(int) {}

// Ctrl+C reaches chmcmd too; this process stays to remove the project copy. A caught
// signal returns to its default in chmcmd.
void outliveTerminalInterrupts() {
    struct sigaction action = {};
    action.sa_handler = ignoreSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGQUIT, &action, nullptr);
}

int runPrinting(int argc, char* argv[], const QString& projectFile) {
    QCoreApplication app(argc, argv);
    ChmcmdRunner runner;
    QObject::connect(&runner, &ChmcmdRunner::output, &printError);
    outliveTerminalInterrupts();
    runner.start(projectFile, ChmcmdRunner::Output::Forward);
    return runner.waitForFinished();
}

int runWindowed(int argc, char* argv[], const QString& projectFile) {
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
    HhcWindow window;
    ChmcmdRunner runner;
    QObject::connect(&runner, &ChmcmdRunner::output, &window, &HhcWindow::appendOutput);
    QObject::connect(&runner, &ChmcmdRunner::finished, &window,
                     [&window, &runner](int status) { window.showResult(status, runner.outputFile()); });
    window.show();
    runner.start(projectFile, ChmcmdRunner::Output::Capture);
    QApplication::exec();
    // Closing the window ends the compile, as closing a console window would.
    if (runner.isRunning())
        runner.stop();
    return runner.exitStatus();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        printError(QStringLiteral("用法：hhc 项目文件.hhp\n"));
        return UsageStatus;
    }
    const QString projectFile = QString::fromLocal8Bit(argv[1]);
    return wantsWindow() ? runWindowed(argc, argv, projectFile) : runPrinting(argc, argv, projectFile);
}
