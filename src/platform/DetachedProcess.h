#pragma once

#include <QString>
#include <QStringList>

namespace folvane {

// Starts a program without waiting for it. On Windows a console program gets a console
// window of its own, even when a program without a console starts it, and a non-empty
// commandLine is passed as it is (program and arguments already quoted in it). processId, if
// given, receives the started process's id.
bool startDetachedProcess(const QString& program, const QStringList& arguments, const QString& commandLine,
                          qint64* processId = nullptr);

} // namespace folvane
