#pragma once

#include <QtGlobal>

class QProcess;

namespace folvane {

// A child the program starts (the help compiler) ends when the program ends, however it
// ends, and is asked politely where the system allows it, so that it removes what it began.
// Linux: the child asks the kernel for SIGTERM once its parent is gone; set up before start.
void endWithThisProgram(QProcess& process);
// Windows: the child joins a job that the system closes, ending it, when the program ends;
// called after start, with its process id. Nothing elsewhere.
void endWithThisProgram(qint64 processId);

} // namespace folvane
