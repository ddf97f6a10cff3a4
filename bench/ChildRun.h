#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace folvane {

// One run of a child program: whether it exited with status 0, its wall time, its own peak
// resident size and what it printed.
struct ChildRun {
    bool ok = false;
    double ms = 0;
    double peakMiB = 0;
    QByteArray out;

    // Runs program (a path, not looked up) with its standard output in outFile, standard
    // error discarded and `environment` ("NAME=value") added to ours, and waits for it.
    static ChildRun of(const QString& program, const QStringList& arguments, const QString& outFile,
                       const QStringList& environment = {});
};

} // namespace folvane
