// folvane-make: builds and compiles a help project from a folder, without a window.
#include "folvane-make/MakeOptions.h"
#include "folvane-make/MakeRun.h"
#include "folvane-make/UsageError.h"
#include "host/Version.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <csignal>
#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

using namespace folvane;

namespace {

bool isTerminal(std::FILE* stream) {
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

bool openStream(QFile& file, std::FILE* stream) {
    return file.open(stream, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);
}

void write(QFile& file, const QString& text) {
    file.write(text.toLocal8Bit());
}

} // namespace

int main(int argc, char* argv[]) {
#ifndef Q_OS_WIN
    // Past a file-size limit a write fails with a reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QCoreApplication app(argc, argv);
    QFile out;
    QFile err;
    if (!openStream(out, stdout) || !openStream(err, stderr))
        return ExitStatus::Failed;

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    MakeOptions options;
    try {
        options = MakeOptions::parse(arguments);
    } catch (const UsageError& e) {
        write(err, QStringLiteral("folvane-make: ") + e.reason() + u'\n' + MakeOptions::usage());
        return ExitStatus::Usage;
    }
    switch (options.action) {
    case MakeOptions::Action::Help:
        write(out, MakeOptions::usage());
        return ExitStatus::Done;
    case MakeOptions::Action::Version:
        write(out, QStringLiteral("folvane-make %1.%2.%3\n")
                       .arg(FOLVANE_VERSION_MAJOR)
                       .arg(FOLVANE_VERSION_MINOR)
                       .arg(FOLVANE_VERSION_REVISION));
        return ExitStatus::Done;
    case MakeOptions::Action::Run:
        break;
    }

    MakeRun run(options, MakeRun::Console{out, err, isTerminal(stderr)});
    // Tests fix the clock so that two runs write the same bytes: ISO 8601 local time.
    const QByteArray clock = qgetenv("FOLVANE_MAKE_CLOCK");
    if (!clock.isEmpty()) {
        const QDateTime when = QDateTime::fromString(QString::fromLatin1(clock), Qt::ISODate);
        if (when.isValid())
            run.setClock(when);
    }
    return run.exec();
}
