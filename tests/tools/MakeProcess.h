#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace folvane {

// One run of the built folvane-make, waited for.
struct MakeProcess {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    static QString program() { return QStringLiteral(FOLVANE_BIN_DIR "/folvane-make"); }

    // The clock of ScriptedHost, so that the window name matches the forms' files.
    static QString testClock() { return QStringLiteral("2026-12-06T07:05:09"); }

    static MakeProcess run(const QStringList& arguments, const QProcessEnvironment& extra = {},
                           const QString& workingDirectory = {}, const QString& executable = program()) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FOLVANE_MAKE_CLOCK"), testClock());
        for (const QString& key : extra.keys())
            env.insert(key, extra.value(key));
        process.setProcessEnvironment(env);
        if (!workingDirectory.isEmpty())
            process.setWorkingDirectory(workingDirectory);
        process.start(executable, arguments);
        MakeProcess result;
        if (!process.waitForFinished(240000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QStringList errLines() const { return QString::fromUtf8(err).split(u'\n', Qt::SkipEmptyParts); }
};

} // namespace folvane
