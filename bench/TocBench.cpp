#include "TocBench.h"

#include "NullHost.h"
#include "PageSite.h"
#include "Timing.h"
#include "app/FmCHM.h"
#include "navbuilder/LinkGraph.h"
#include "navbuilder/LinkWalk.h"
#include "navbuilder/NavigationPass.h"
#include "util/TextFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>

#include <memory>
#include <optional>

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
            main->project().setComparePath(root);
            main->project().restore(files, {});
        },
        [&] { main->FoldIt_Click(); });
    const int expected = PageSite::pages() + PageSite::folders() + PageSite::kTopFolders;
    reportFigure(out, "FoldIt_Click on 31000 files in 1000 folders", main->LF.count(), ms, 100,
                 main->LF.count() == expected && main->LB().count() == expected && host.messages() == 0);
}

// The navigation builder's contents on the site written to disk, with file names as titles:
// in reading order (every page read and scanned for links) beside folder order, and beside
// reading the same pages whole.
void benchReadingOrder(QTextStream& out) {
    QTemporaryDir dir;
    const QList<ListEntry> files = PageSite::make(dir.path());
    NullHost host;
    std::unique_ptr<FmCHM> main;
    const auto buildWith = [&](NavSettings::Order order) {
        NavSettings settings;
        settings.order = order;
        return bestOfThreeMs(
            [&] {
                main = std::make_unique<FmCHM>(host);
                main->project().setComparePath(dir.path());
                main->project().restore(files, {});
            },
            [&] { NavigationPass(main->project(), host, settings).run(); });
    };
    const double folderMs = buildWith(NavSettings::Order::Folders);
    const int folderEntries = main->LB().count();
    const double linksMs = buildWith(NavSettings::Order::Links);
    // Every page reached, the book three levels deep below its first page.
    int deepest = 0;
    for (const ListEntry& e : main->LB().entries())
        deepest = std::max(deepest, static_cast<int>(lineDepth(e.text)));
    const bool ok = main->LB().count() == PageSite::pages() && main->LB().text(0) == QStringLiteral("page0") &&
                    deepest == 3 && host.messages() == 0;

    qint64 chars = 0;
    const double readMs = bestOfThreeMs([&] { chars = 0; },
                                        [&] {
                                            for (const ListEntry& e : files)
                                                chars += ReadTextFileQuietly(e.text).value_or(QString()).size();
                                        });
    std::optional<LinkGraph> graph;
    const double graphMs =
        bestOfThreeMs([&] { graph.reset(); },
                      [&] {
                          graph.emplace(
                              files, dir.path(), nativePathStyle(), [](qint32) { return true; }, QString());
                      });
    int reached = 0;
    const double walkMs = bestOfThreeMs([] {}, [&] { reached = static_cast<int>(LinkWalk(*graph).order().size()); });

    reportFigure(out, "Contents in reading order (31000 pages read and scanned for links, walked, titled)",
                 main->LB().count(), linksMs, 1000, ok && reached == PageSite::pages());
    out << "  pages read and scanned " << QString::number(graphMs, 'f', 1) << " ms, the walk "
        << QString::number(walkMs, 'f', 1) << " ms; reading the same pages whole (" << chars / 1024 / 1024
        << " Mi characters) " << QString::number(readMs, 'f', 1) << " ms; folder order on the same site "
        << QString::number(folderMs, 'f', 1) << " ms (" << folderEntries << " entries)\n";
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
    benchReadingOrder(out);
    benchMovePass(out);
}

} // namespace folvane
