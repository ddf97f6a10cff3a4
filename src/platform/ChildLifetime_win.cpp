#include "platform/ChildLifetime.h"

#include "base/WindowsApi_win.h"

#include <QProcess>

namespace folvane {

namespace {
// One job for the program's whole life: its handle closes when the program ends, and the
// system then ends every process in it.
HANDLE ownJob() {
    static const HANDLE job = [] {
        const HANDLE created = CreateJobObjectW(nullptr, nullptr);
        if (created != nullptr) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
        return created;
    }();
    return job;
}
} // namespace

void endWithThisProgram(QProcess& process) {
    Q_UNUSED(process)
}

void endWithThisProgram(qint64 processId) {
    const HANDLE job = ownJob();
    if (job == nullptr || processId <= 0)
        return;
    const HANDLE child = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, static_cast<DWORD>(processId));
    if (child == nullptr)
        return;
    AssignProcessToJobObject(job, child);
    CloseHandle(child);
}

} // namespace folvane
