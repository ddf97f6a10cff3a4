#include "RoadBench.h"

#include "PageSite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <limits>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace folvane {

namespace {
constexpr int kRuns = 3;
constexpr double kTargetRatio = 1.3;
constexpr double kTargetPeakMiB = 200;

struct ChildRun {
    bool ok = false;
    double ms = 0;
    double peakMiB = 0;
    QByteArray out;
};

// Runs a program with its standard output in outFile and waits for it with wait4, which
// gives the child's own peak resident size.
ChildRun runChild(const QString& program, const QStringList& arguments, const QString& outFile) {
    ChildRun run;
#ifdef Q_OS_UNIX
    std::vector<QByteArray> args{program.toLocal8Bit()};
    for (const QString& a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const QByteArray outPath = outFile.toLocal8Bit();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    struct rusage usage = {};
    if (wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    QFile out(outFile);
    if (out.open(QIODevice::ReadOnly))
        run.out = out.readAll();
#else
    Q_UNUSED(program)
    Q_UNUSED(arguments)
    Q_UNUSED(outFile)
#endif
    return run;
}

// The floor: list the tree with find, then read every page whole as text.
bool findAndRead(const QString& root, qint64& pagesRead) {
    QProcess find;
    find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f")});
    if (!find.waitForFinished(120000) || find.exitCode() != 0)
        return false;
    pagesRead = 0;
    const QList<QByteArray> paths = find.readAllStandardOutput().split('\n');
    for (const QByteArray& path : paths) {
        if (path.isEmpty())
            continue;
        QFile file(QString::fromLocal8Bit(path));
        if (!file.open(QIODevice::ReadOnly))
            return false;
        QStringDecoder decoder(QStringConverter::System);
        const QString text = decoder(file.readAll());
        pagesRead += text.isEmpty() ? 0 : 1;
    }
    return true;
}

void removeProjectFiles(const QString& root) {
    QFile::remove(root + QStringLiteral("/HH_KVEL.hhp"));
    QFile::remove(root + QStringLiteral("/HH_KVEL.hhc"));
}

QString ms(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}
} // namespace

void benchWholeRoad(QTextStream& out) {
    const QString program = QStringLiteral(FOLVANE_BIN_DIR "/folvane-make");
#ifndef Q_OS_UNIX
    out << "Whole road: not measured on this platform\n";
    return;
#endif
    QTemporaryDir dir;
    if (!dir.isValid() || !QFile::exists(program)) {
        out << "Whole road: FAILED: no temporary folder or no " << program << '\n';
        return;
    }
    const QString root = dir.path() + QStringLiteral("/site");
    PageSite::make(root);
    const QString outFile = dir.path() + QStringLiteral("/out.txt");
    const QStringList args{root, QStringLiteral("--no-compile"), QStringLiteral("--titles"), QStringLiteral("between")};

    double roadMs = std::numeric_limits<double>::max();
    double floorMs = std::numeric_limits<double>::max();
    double peakMiB = 0;
    bool ok = true;
    qint64 pagesRead = 0;
    QByteArray report;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        ok = findAndRead(root, pagesRead) && ok;
        floorMs = std::min(floorMs, static_cast<double>(timer.nsecsElapsed()) / 1e6);

        const ChildRun run = runChild(program, args, outFile);
        ok = ok && run.ok;
        roadMs = std::min(roadMs, run.ms);
        peakMiB = std::max(peakMiB, run.peakMiB);
        report = run.out;
        removeProjectFiles(root);
    }

    // folvane-make reports "(N files, M contents entries)": every page, plus the folder entries.
    static const QRegularExpression counts(QStringLiteral("\\((\\d+) files, (\\d+) contents entries\\)"));
    const QRegularExpressionMatch m = counts.match(QString::fromUtf8(report));
    const int files = m.hasMatch() ? m.captured(1).toInt() : 0;
    const int entries = m.hasMatch() ? m.captured(2).toInt() : 0;
    const double ratio = roadMs / floorMs;
    out << "Whole road without compiling (folvane-make --no-compile --titles between: scan, hierarchy, titles, save): "
        << files << " pages in " << PageSite::folders() << " folders, " << entries << " list entries, " << ms(roadMs)
        << '\n';
    out << "  find + reading every page " << ms(floorMs) << "; ratio " << QString::number(ratio, 'f', 2)
        << " (target <= " << kTargetRatio << "); peak memory " << QString::number(peakMiB, 'f', 1) << " MiB (target < "
        << kTargetPeakMiB << " MiB)";
    if (!ok || files != PageSite::pages() || pagesRead != PageSite::pages())
        out << " FAILED: wrong result";
    else if (ratio > kTargetRatio || peakMiB >= kTargetPeakMiB)
        out << " OVER TARGET";
    out << '\n';
    out.flush();
}

} // namespace folvane
