#include "RoadBench.h"

#include "ChildRun.h"
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

namespace folvane {

namespace {
constexpr int kRuns = 3;
constexpr double kTargetRatio = 1.3;
constexpr double kTargetPeakMiB = 200;

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

        const ChildRun run = ChildRun::of(program, args, outFile);
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
