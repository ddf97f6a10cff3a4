#include "platform/DetachedProcess.h"

#include <QDir>
#include <QProcess>

#include <windows.h>

namespace folvane {

bool startDetachedProcess(const QString& program, const QStringList& arguments, const QString& commandLine,
                          qint64* processId) {
    if (commandLine.isEmpty())
        return QProcess::startDetached(program, arguments, QString(), processId);
    // Qt starts console programs from a program without a console with CREATE_NO_WINDOW:
    // the compile would run unseen, and a compiler that waits for a key would wait forever.
    const std::wstring application = QDir::toNativeSeparators(program).toStdWString();
    std::wstring line = commandLine.toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup, &process))
        return false;
    if (processId != nullptr)
        *processId = process.dwProcessId;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace folvane
