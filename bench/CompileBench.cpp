#include "CompileBench.h"

#include "ChildRun.h"
#include "EntropySite.h"
#include "HelpFileCheck.h"
#include "HelpProject.h"
#include "PageSite.h"
#include "RealisticSite.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace folvane {

namespace {
constexpr int kRuns = 3;
constexpr double kTargetSpeedup = 10;
constexpr double kTargetSizeRatio = 1.1;
constexpr double kTargetPeakMB = 300;
constexpr double kTargetIndexShare = 0.30;
constexpr double kMiB = 1024.0 * 1024.0;

struct Compile {
    ChildRun run;
    double peakMB = 0;
    double sizeMB = 0;
    QString problem;
};

struct Site {
    QString name;
    QString root;
    QString makeSummary; // what was written, for the figure's first line
    bool peakTarget = false;
    int runs = kRuns;
};

// The compilers measured: ours, and with FOLVANE_BENCH_EARLIER_BIN_DIR another build's hhc,
// run in turn with ours on the same projects so that both meet the same load.
QStringList compilers() {
    QStringList programs{QStringLiteral(FOLVANE_BIN_DIR "/hhc")};
    const QString earlier = qEnvironmentVariable("FOLVANE_BENCH_EARLIER_BIN_DIR");
    if (!earlier.isEmpty())
        programs.append(earlier + QStringLiteral("/hhc"));
    return programs;
}

void progress(const QString& text) {
    std::fprintf(stderr, "compile figure: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

QString fixed(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

double megabytes(double bytes) {
    return bytes / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The floor: every file a compiler has to read, read once whole. Nothing when one is missing.
std::optional<qint64> readAll(const QStringList& files) {
    qint64 bytes = 0;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        bytes += file.readAll().size();
    }
    return bytes;
}

Compile finished(const ChildRun& run, const QString& helpFile, const HelpProject& project) {
    Compile c;
    c.run = run;
    c.peakMB = run.peakMiB * kMiB / 1e6;
    c.sizeMB = megabytes(static_cast<double>(QFileInfo(helpFile).size()));
    progress(QStringLiteral("reading %1 back").arg(QFileInfo(helpFile).fileName()));
    c.problem = run.ok ? HelpFileCheck::problem(helpFile, project) : QStringLiteral("the compiler failed");
    return c;
}

// Each compiler in turn, `runs` rounds: for each the median time, the highest peak and its
// last file. projectFile: the project or a copy of it that writes helpFile.
std::vector<Compile> compileEach(const HelpProject& project, const QString& projectFile, const QString& helpFile,
                                 const QString& scratch, int runs) {
    const QStringList programs = compilers();
    std::vector<std::vector<double>> times(programs.size());
    std::vector<Compile> compiles(programs.size());
    for (int round = 0; round < runs; ++round) {
        for (qsizetype c = 0; c < programs.size(); ++c) {
            if (round > 0 && !compiles[c].run.ok)
                continue;
            QFile::remove(helpFile);
            ChildRun run = ChildRun::of(programs[c], {projectFile}, scratch + QStringLiteral("/hhc.txt"));
            times[c].push_back(run.ms);
            run.ok = run.ok && run.out.contains("\xe7\xbc\x96\xe8\xaf\x91\xe5\xae\x8c\xe6\x88\x90"); // 编译完成
            run.ms = median(times[c]);
            run.peakMiB = std::max(run.peakMiB, compiles[c].run.peakMiB);
            compiles[c].run = run;
            if (round == runs - 1 || !run.ok)
                compiles[c] = finished(run, helpFile, project);
        }
    }
    return compiles;
}

// chmcmd on a copy of the project it accepts, with the settings that make it do the work
// ours does: no search index (ours writes none) and no scanning pages for files to add
// (every file is listed).
std::optional<Compile> compileWithChmcmd(const HelpProject& project, const QString& scratch) {
    const QString chmcmd = QStandardPaths::findExecutable(QStringLiteral("chmcmd"));
    if (chmcmd.isEmpty())
        return std::nullopt;
    const QString copy = project.folder() + QStringLiteral("/chmcmd.hhp");
    const QString helpFile = project.folder() + QStringLiteral("/chmcmd.chm");
    QFile::remove(helpFile);
    if (!project.writeCopy(copy, helpFile, false))
        return Compile{{}, 0, 0, QStringLiteral("cannot write its project")};
    const ChildRun run =
        ChildRun::of(chmcmd, {QStringLiteral("--no-html-scan"), copy}, scratch + QStringLiteral("/chmcmd.txt"));
    return finished(run, helpFile, project);
}

QString compileLine(const char* who, const Compile& c) {
    return QStringLiteral("  %1: %2 s, peak memory %3 MB, help file %4 MB")
               .arg(QString::fromLatin1(who), fixed(c.run.ms / 1000, 2), fixed(c.peakMB, 1), fixed(c.sizeMB, 2)) +
           (c.problem.isEmpty() ? QString() : QStringLiteral(" FAILED: ") + c.problem);
}

// The search index's size as hhc reports it: "全文搜索：N 个页面，索引 36.2 MB".
QString indexSize(const Compile& c) {
    const QString out = QString::fromUtf8(c.run.out);
    const qsizetype at = out.indexOf(QStringLiteral("\u7d22\u5f15 ")); // 索引
    return at < 0 ? QStringLiteral("none") : out.mid(at + 3).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// The same project without a search index, to tell what the index costs; the compile
// without it, which is what chmcmd is measured against.
std::optional<Compile> reportIndexCost(QTextStream& out, const HelpProject& project,
                                       const std::vector<Compile>& withIndex, const QString& scratch, int runs) {
    const QString copy = project.folder() + QStringLiteral("/no-search.hhp");
    const QString helpFile = project.folder() + QStringLiteral("/no-search.chm");
    if (!project.writeCopy(copy, helpFile, false)) {
        out << "  without search index: FAILED: cannot write the project copy\n";
        return std::nullopt;
    }
    const std::vector<Compile> plain = compileEach(project, copy, helpFile, scratch, runs);
    QFile::remove(copy);
    for (std::size_t c = 0; c < plain.size(); ++c) {
        const Compile& with = withIndex[c];
        const double share = with.run.ms / plain[c].run.ms - 1;
        const QString who = c == 0 ? QStringLiteral("hhc") : QStringLiteral("earlier hhc");
        out << compileLine(qPrintable(who + (runs == kRuns ? QStringLiteral(" without search index (median of 3)")
                                                           : QStringLiteral(" without search index"))),
                           plain[c])
            << '\n';
        out << "  " << (c == 0 ? "" : "earlier ")
            << "search index: " << fixed((with.run.ms - plain[c].run.ms) / 1000, 2) << " s more ("
            << fixed(share * 100, 0) << "%, target <= " << fixed(kTargetIndexShare * 100, 0) << "%), index "
            << indexSize(with) << ", help file " << fixed(with.sizeMB - plain[c].sizeMB, 2)
            << " MB larger, peak memory " << fixed(with.peakMB, 1) << " MB against " << fixed(plain[c].peakMB, 1)
            << " MB" << (share > kTargetIndexShare ? " OVER TARGET" : "") << '\n';
    }
    return plain.front();
}

void reportComparison(QTextStream& out, const Compile& ours, const Compile& theirs) {
    const double speedup = theirs.run.ms / ours.run.ms;
    const double sizeRatio = ours.sizeMB / theirs.sizeMB;
    out << compileLine("chmcmd --no-html-scan, Full-text search=No (1 run)", theirs) << '\n';
    out << "  chmcmd / hhc time " << fixed(speedup, 1) << " (target >= " << kTargetSpeedup << "); hhc / chmcmd size "
        << fixed(sizeRatio, 3) << " (target <= " << kTargetSizeRatio << ")";
    if (!ours.problem.isEmpty() || !theirs.problem.isEmpty())
        out << " FAILED: wrong result";
    else if (speedup < kTargetSpeedup || sizeRatio > kTargetSizeRatio)
        out << " OVER TARGET";
    out << '\n';
}

void measureSite(QTextStream& out, const Site& site, const QString& scratch) {
    progress(site.name + QStringLiteral(": saving the project with folvane-make"));
    const ChildRun make = ChildRun::of(QStringLiteral(FOLVANE_BIN_DIR "/folvane-make"),
                                       {site.root, QStringLiteral("--no-compile"), QStringLiteral("-q")},
                                       scratch + QStringLiteral("/make.txt"));
    const std::optional<HelpProject> project = HelpProject::load(site.root + QStringLiteral("/HH_KVEL.hhp"));
    out << "Compile, " << site.name << " (" << site.makeSummary << "):\n";
    if (!make.ok || !project) {
        out << "  FAILED: folvane-make wrote no project\n";
        return;
    }

    progress(site.name + QStringLiteral(": reading every file of the project"));
    const QStringList inputs = project->inputFiles();
    std::vector<double> floorTimes;
    std::optional<qint64> inputBytes;
    for (int i = 0; i < site.runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        inputBytes = readAll(inputs);
        floorTimes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    out << "  floor, reading the " << inputs.size() << " files of the project once ("
        << fixed(megabytes(static_cast<double>(inputBytes.value_or(0))), 1) << " MB): " << fixed(median(floorTimes), 2)
        << " s" << (inputBytes ? "" : " FAILED: a file is missing") << '\n';

    progress(site.name + QStringLiteral(": compiling with hhc"));
    const std::vector<Compile> compiled =
        compileEach(*project, project->projectFile(), project->compiledFile(), scratch, site.runs);
    const Compile& ours = compiled.front();
    out << compileLine(site.runs == kRuns ? "hhc (median of 3)" : "hhc", ours) << "; "
        << fixed(ours.run.ms / 1000 / median(floorTimes), 1) << " times the floor";
    if (site.peakTarget)
        out << " (peak target < " << kTargetPeakMB << " MB)" << (ours.peakMB >= kTargetPeakMB ? " OVER TARGET" : "");
    out << '\n';
    if (compiled.size() > 1)
        out << compileLine(site.runs == kRuns ? "earlier hhc (median of 3)" : "earlier hhc", compiled.back()) << '\n';
    progress(site.name + QStringLiteral(": compiling with hhc without the search index"));
    const std::optional<Compile> plain = reportIndexCost(out, *project, compiled, scratch, site.runs);
    out.flush();

    progress(site.name + QStringLiteral(": compiling with chmcmd, which takes a while"));
    const std::optional<Compile> theirs = compileWithChmcmd(*project, scratch);
    if (theirs)
        reportComparison(out, plain.value_or(ours), *theirs);
    else
        out << "  chmcmd: not installed, comparison skipped\n";
    out.flush();
}

void measureIn(QTextStream& out, const QString& name, bool peakTarget,
               const std::function<QString(const QString& root)>& makeSite, int runs = kRuns) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        out << "Compile, " << name << ": FAILED: no temporary folder\n";
        return;
    }
    progress(name + QStringLiteral(": writing the site"));
    const QString root = dir.path() + QStringLiteral("/site");
    const QString summary = makeSite(root);
    measureSite(out, Site{name, root, summary, peakTarget, runs}, dir.path());
}
} // namespace

void benchCompile(QTextStream& out) {
#ifndef Q_OS_UNIX
    out << "Compile: not measured on this platform\n";
    return;
#endif
    measureIn(out, QStringLiteral("realistic site"), false, [](const QString& root) {
        const RealisticSite::Made made = RealisticSite::make(root);
        return QStringLiteral("%1 pages and %2 pictures in %3 folders, %4 MB")
            .arg(made.pages)
            .arg(made.pictures)
            .arg(made.folders)
            .arg(fixed(megabytes(static_cast<double>(made.bytes)), 1));
    });
    measureIn(out, QStringLiteral("shared site"), true, [](const QString& root) {
        PageSite::make(root);
        return QStringLiteral("%1 pages of %2 KB in %3 folders, %4 MB")
            .arg(PageSite::pages())
            .arg(PageSite::kPageBytes / 1024)
            .arg(PageSite::folders())
            .arg(fixed(megabytes(static_cast<double>(PageSite::pages()) * PageSite::kPageBytes), 1));
    });
    // Once each: a compile takes minutes. The search index's memory stays within its budget.
    measureIn(
        out, QStringLiteral("high-entropy site"), false,
        [](const QString& root) {
            EntropySite::make(root);
            return QStringLiteral("%1 pages of random words, %2 MB")
                .arg(EntropySite::kPages)
                .arg(fixed(megabytes(static_cast<double>(EntropySite::kPages * EntropySite::kPageBytes)), 0));
        },
        1);
}

} // namespace folvane
