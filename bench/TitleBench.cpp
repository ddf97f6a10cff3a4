#include "TitleBench.h"

#include "NullHost.h"
#include "PageSite.h"
#include "app/FmCHM.h"
#include "navbuilder/NavigationPass.h"
#include "toc/ListBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <limits>

namespace folvane {

namespace {
constexpr int kRuns = 3;
constexpr double kTargetRatio = 1.3;

// Lets events run after every entry the way the program's own host does.
class EventLoopHost : public NullHost {
public:
    void doEvents() override { QCoreApplication::processEvents(); }
};

qint64 readAllFiles(const QList<ListEntry>& files) {
    qint64 chars = 0;
    for (const ListEntry& e : files) {
        QFile file(e.text);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QStringDecoder decoder(QStringConverter::System);
        const QString text = decoder(file.readAll());
        chars += text.size();
    }
    return chars;
}

int titledPages(const ListBox& toc) {
    int titled = 0;
    for (const ListEntry& e : toc.entries())
        titled += e.text.trimmed().startsWith(QStringLiteral("Page ")) ? 1 : 0;
    return titled;
}

template <typename Run> void keepBest(double& best, Run run) {
    QElapsedTimer timer;
    timer.start();
    run();
    best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
}

struct PassResult {
    int tocEntries = 0;
    int titled = 0;
    int messages = 0;
};

PassResult timePass(NullHost& host, const QString& root, const QList<ListEntry>& files, double& best) {
    FmCHM main(host);
    main.project().setComparePath(root);
    main.project().restore(files, {});
    NavSettings settings;
    settings.titleMode = NavSettings::BetweenMarkers;
    keepBest(best, [&] { NavigationPass(main.project(), host, settings).run(); });
    return {main.LB().count(), titledPages(main.LB()), host.messages()};
}
} // namespace

void benchTitlePass(QTextStream& out) {
    QTemporaryDir dir;
    const QList<ListEntry> files = PageSite::make(dir.path());
    const int pages = static_cast<int>(files.size());

    double readMs = std::numeric_limits<double>::max();
    double passMs = std::numeric_limits<double>::max();
    double eventLoopMs = std::numeric_limits<double>::max();
    qint64 chars = 0;
    PassResult result;
    readAllFiles(files); // the same warm cache for both
    for (int i = 0; i < kRuns; ++i) {
        keepBest(readMs, [&] { chars = readAllFiles(files); });
        NullHost host;
        result = timePass(host, dir.path(), files, passMs);
        EventLoopHost eventLoopHost;
        timePass(eventLoopHost, dir.path(), files, eventLoopMs);
    }

    const double ratio = passMs / readMs;
    out << "Title pass between markers (folder hierarchy, exclusion, titles): " << pages << " pages in "
        << PageSite::folders() << " folders, " << result.tocEntries << " TOC entries, " << result.titled << " titled, "
        << QString::number(passMs, 'f', 1) << " ms (host running the event loop "
        << QString::number(eventLoopMs, 'f', 1) << " ms)\n";
    out << "  reading the same files whole: " << QString::number(chars / 1024 / 1024) << " Mi characters, "
        << QString::number(readMs, 'f', 1) << " ms; ratio " << QString::number(ratio, 'f', 2)
        << " (target <= " << kTargetRatio << ")";
    if (result.titled != pages || result.messages != 0)
        out << " FAILED: wrong result";
    else if (ratio > kTargetRatio)
        out << " OVER TARGET";
    out << '\n';
}

} // namespace folvane
