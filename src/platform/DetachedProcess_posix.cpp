#include "platform/DetachedProcess.h"

#include <QProcess>

namespace folvane {

bool startDetachedProcess(const QString& program, const QStringList& arguments, const QString& /*commandLine*/) {
    return QProcess::startDetached(program, arguments);
}

} // namespace folvane
