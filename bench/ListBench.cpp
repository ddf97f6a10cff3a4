#include "ListBench.h"

#include "NullHost.h"
#include "app/FmCHM.h"
#include "files/MergeIntoList.h"
#include "project/FmOption.h"
#include "toc/ListBox.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <limits>

namespace folvane {

namespace {
constexpr int kRuns = 3;
constexpr int kDeleteKey = 46;

// setup runs untimed before every timed run.
template <typename Setup, typename Run> double bestOfThreeMs(Setup setup, Run run) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < kRuns; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

void report(QTextStream& out, const char* what, int entries, double ms, int targetMs, bool ok) {
    out << what << ": " << entries << " entries, " << QString::number(ms, 'f', 2) << " ms (target < " << targetMs
        << " ms)";
    if (!ok)
        out << " FAILED: wrong result";
    else if (ms >= targetMs)
        out << " OVER TARGET";
    out << '\n';
}

QList<ListEntry> numbered(const QString& pattern, int count) {
    QList<ListEntry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.append(ListEntry{pattern.arg(i), 0, false});
    return entries;
}

void benchMerge(QTextStream& out) {
    const QList<ListEntry> old = numbered(QStringLiteral("/site/old/page%1.htm"), kListCapacity / 2);
    QStringList batch;
    for (const ListEntry& e : numbered(QStringLiteral("/site/new/page%1.htm"), kListCapacity / 2 + 1))
        batch.append(e.text);
    const QString items = batch.join(QChar(u'\0'));
    ListBox list;
    const double ms = bestOfThreeMs([&] { list.setEntries(old); },
                                    [&] { MergeIntoList(items, list, true, QString(QChar(u'\0')), 0); });
    report(out, "MergeIntoList, 16384 new paths into 16383 old", list.count(), ms, 50, list.count() == kListCapacity);
}

void benchSave(QTextStream& out) {
    QTemporaryDir dir;
    NullHost host;
    FmCHM main(host);
    main.ComparePath = dir.path();
    QList<ListEntry> files;
    QList<ListEntry> toc;
    files.reserve(kListCapacity);
    toc.reserve(kListCapacity);
    for (int i = 0; i < kListCapacity; ++i) {
        files.append(ListEntry{dir.filePath(QStringLiteral("sub%1/page%2.htm").arg(i / 1000).arg(i)), 0, false});
        toc.append(ListEntry{QString(i % 4, u' ') + QStringLiteral("Page %1").arg(i), i, false});
    }
    main.LF.setEntries(files);
    main.LB().setEntries(toc);
    main.fmOption().setChmTt(QStringLiteral("Bench"));
    main.fmOption().setCo1Text(QStringLiteral("sub0/page0.htm"));
    const double ms = bestOfThreeMs([] {}, [&] { main.SaveIt(); });
    report(out, "SaveIt, file list and TOC", kListCapacity, ms, 150,
           host.messages() == 0 && main.SavedCount == kListCapacity);
}

void benchDelete(QTextStream& out) {
    NullHost host;
    FmCHM main(host);
    QList<ListEntry> toc = numbered(QStringLiteral(" Page %1"), kListCapacity);
    for (int i = 0; i < toc.size(); i += 2)
        toc[i].selected = true;
    const double ms = bestOfThreeMs([&] { main.LB().setEntries(toc); },
                                    [&] {
                                        int key = kDeleteKey;
                                        main.L_KeyDown(1, key, 0);
                                    });
    report(out, "Delete key on the TOC, every second entry selected", kListCapacity, ms, 20,
           main.LB().count() == kListCapacity / 2);
}
} // namespace

void benchFileList(QTextStream& out) {
    benchMerge(out);
    benchSave(out);
    benchDelete(out);
}

} // namespace folvane
