#include "ListBench.h"

#include "NullHost.h"
#include "Timing.h"
#include "app/FmCHM.h"
#include "files/MergeIntoList.h"
#include "host/KeyCodes.h"
#include "project/FmOption.h"
#include "toc/ListBox.h"

#include <QTemporaryDir>
#include <QTextStream>

namespace folvane {

namespace {
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
    ListBox list;
    const double ms = bestOfThreeMs([&] { list.setEntries(old); }, [&] { MergeIntoList(batch, list, true, 0); });
    reportFigure(out, "MergeIntoList, 16384 new paths into 16383 old", list.count(), ms, 50,
                 list.count() == kListCapacity);
}

void benchSave(QTextStream& out) {
    QTemporaryDir dir;
    NullHost host;
    FmCHM main(host);
    main.project().setComparePath(dir.path());
    QList<ListEntry> files;
    QList<ListEntry> toc;
    files.reserve(kListCapacity);
    toc.reserve(kListCapacity);
    for (int i = 0; i < kListCapacity; ++i) {
        files.append(ListEntry{dir.filePath(QStringLiteral("sub%1/page%2.htm").arg(i / 1000).arg(i)), 0, false});
        toc.append(ListEntry{QString(i % 4, u' ') + QStringLiteral("Page %1").arg(i), i, false});
    }
    main.project().restore(files, toc);
    main.fmOption().setChmTt(QStringLiteral("Bench"));
    main.fmOption().setCo1Text(QStringLiteral("sub0/page0.htm"));
    const double ms = bestOfThreeMs([] {}, [&] { main.SaveIt(); });
    reportFigure(out, "SaveIt, file list and TOC", kListCapacity, ms, 150,
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
                                        int key = KeyCode::Delete;
                                        main.L_KeyDown(1, key, 0);
                                    });
    reportFigure(out, "Delete key on the TOC, every second entry selected", kListCapacity, ms, 20,
                 main.LB().count() == kListCapacity / 2);
}
} // namespace

void benchFileList(QTextStream& out) {
    benchMerge(out);
    benchSave(out);
    benchDelete(out);
}

} // namespace folvane
