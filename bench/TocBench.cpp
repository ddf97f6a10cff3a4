#include "TocBench.h"

#include "NullHost.h"
#include "PageSite.h"
#include "Timing.h"
#include "app/FmCHM.h"

#include <QDir>
#include <memory>

namespace folvane {

namespace {
// The generated site's file list, as paths only: the hierarchy step never touches the disk.
QList<ListEntry> siteFileList(const QString& root) {
    QList<ListEntry> files;
    files.reserve(PageSite::pages());
    for (int t = 0; t < PageSite::kTopFolders; ++t)
        for (int f = 0; f < PageSite::kFoldersPerTop; ++f)
            for (int p = 0; p < PageSite::kPagesPerFolder; ++p)
                files.append(ListEntry{QDir::toNativeSeparators(
                                           root + QStringLiteral("/part%1/chapter%2/page%3.htm").arg(t).arg(f).arg(p)),
                                       0, false});
    return files;
}

void benchFolderHierarchy(QTextStream& out) {
    const QString root = QDir::toNativeSeparators(QStringLiteral("/bench/site"));
    const QList<ListEntry> files = siteFileList(root);
    NullHost host;
    std::unique_ptr<FmCHM> main;
    const double ms = bestOfThreeMs(
        [&] {
            main = std::make_unique<FmCHM>(host);
            main->ComparePath = root;
            main->LF.setEntries(files);
        },
        [&] { main->FoldIt_Click(); });
    const int expected = PageSite::pages() + PageSite::folders() + PageSite::kTopFolders;
    reportFigure(out, "FoldIt_Click on 31000 files in 1000 folders", main->LF.count(), ms, 100,
                 main->LF.count() == expected && main->LB().count() == expected && host.messages() == 0);
}

void benchMovePass(QTextStream& out) {
    QList<ListEntry> toc;
    toc.reserve(kListCapacity);
    for (int i = 0; i < kListCapacity; ++i)
        toc.append(ListEntry{QString(i % 3, u' ') + QStringLiteral("Page %1").arg(i), i, true});
    NullHost host;
    FmCHM main(host);
    const double ms = bestOfThreeMs([&] { main.LB().setEntries(toc); }, [&] { main.Com_Click(3); });
    // Every entry selected: the last never moves and each other one swaps with its successor.
    reportFigure(out, "One move pass (down), every entry selected", kListCapacity, ms, 10,
                 main.LB().count() == kListCapacity && main.LB().selectedCount() == kListCapacity);
}
} // namespace

void benchTocEditing(QTextStream& out) {
    benchFolderHierarchy(out);
    benchMovePass(out);
}

} // namespace folvane
