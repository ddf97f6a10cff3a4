#include "platform/DetachedProcess.h"

#include <QProcess>

namespace folvane {

bool startDetachedProcess(const QString& program, const QStringList& arguments, const QString& /*commandLine*/,
                          qint64* processId) {
    return QProcess::startDetached(program, arguments, QString(), processId);
}

} // namespace folvane
