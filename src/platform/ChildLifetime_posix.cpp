#include "platform/ChildLifetime.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace folvane {

void endWithThisProgram(QProcess& process) {
#ifdef Q_OS_LINUX
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The parent may have gone between the fork and this call.
        if (::getppid() != parent)
            ::raise(SIGTERM);
    });
#else
    Q_UNUSED(process)
#endif
}

void endWithThisProgram(qint64 processId) {
    Q_UNUSED(processId)
}

} // namespace folvane
