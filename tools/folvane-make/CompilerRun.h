#pragma once

#include "project/CompilerCommand.h"

#include <QByteArray>
#include <QString>

class QIODevice;
class QProcess;

namespace folvane {

// Runs the help compiler beside the program on a saved project and waits for it: hhc.exe
// on Windows, hhc elsewhere. A run succeeds when the compiler reports success
// and the output file is there, newly written.
class CompilerRun {
public:
    // The compiler's own output goes to `out` as it comes; quiet keeps it back and shows
    // its end only when the run fails.
    CompilerRun(CompilerCommand command, QIODevice& out, bool quiet);

    // The compiler ends when this program ends, however it ends.
    bool run(const QString& projectFile, const QString& outputFile);
    // Why the last run failed.
    const QString& failure() const { return failure_; }

private:
    bool fail(const QString& why);
    void pass(const QByteArray& bytes);
    bool waitAndForward(QProcess& process);

    CompilerCommand command_;
    QIODevice& out_;
    bool quiet_;
    // Quiet runs keep only the end of the compiler's output: a large site can make it
    // print hundreds of megabytes of warnings.
    static constexpr qsizetype kHeldBytes = 64 * 1024;
    QByteArray held_;
    qint64 droppedBytes_ = 0;
    QString failure_;
};

} // namespace folvane
