#include "ScanBench.h"

#include "NullHost.h"
#include "Timing.h"
#include "files/FolderScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <limits>

namespace folvane {

namespace {
constexpr int kRuns = 3;
constexpr int kFiles = 32767;
constexpr int kTopFolders = 27;
constexpr int kFoldersPerTop = 36; // 27 + 27 * 36 = 999 folders below the root

// The same host, but letting events run the way the program's own host does.
class EventLoopHost : public NullHost {
public:
    void doEvents() override { QCoreApplication::processEvents(); }
};

QStringList makeTree(const QString& root) {
    QStringList folders{root};
    for (int t = 0; t < kTopFolders; ++t) {
        const QString top = root + QStringLiteral("/dir%1").arg(t);
        folders.append(top);
        for (int s = 0; s < kFoldersPerTop; ++s)
            folders.append(top + QStringLiteral("/sub%1").arg(s));
    }
    for (const QString& folder : folders)
        QDir().mkpath(folder);
    for (int i = 0; i < kFiles; ++i) {
        // Every tenth name has no extension, the rest a mix of page types.
        static const char* const kExtensions[] = {".htm", ".html", ".jpg", ".css", ".gif"};
        const QString name = i % 10 == 0 ? QStringLiteral("README%1").arg(i)
                                         : QStringLiteral("page%1").arg(i) + QLatin1String(kExtensions[i % 5]);
        QFile file(folders[i % folders.size()] + u'/' + name);
        if (file.open(QIODevice::WriteOnly))
            file.write("<html></html>");
    }
    return folders;
}

QString ms(double value) {
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}
} // namespace

void benchFolderScan(QTextStream& out) {
    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        out << "folder scan: FAILED: no temporary folder\n";
        return;
    }
    const QString root = tmp.path() + QStringLiteral("/tree");
    const qsizetype folders = makeTree(root).size();

    NullHost host;
    qsizetype listed = 0;
    const double scanMs =
        bestOfThreeMs([] {}, [&] { listed = ListFolderFiles(root, QStringLiteral("*.*"), host).size(); });
    EventLoopHost eventHost;
    const double eventsMs = bestOfThreeMs([] {}, [&] { ListFolderFiles(root, QStringLiteral("*.*"), eventHost); });

    bool findOk = true;
    const double findMs =
        bestOfThreeMs([] {},
                      [&] {
                          QProcess find;
                          find.setStandardOutputFile(QProcess::nullDevice());
                          find.start(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f")});
                          findOk = findOk && find.waitForFinished(60000) && find.exitCode() == 0;
                      });

    const double ratio = scanMs / findMs;
    out << "folder scan: " << listed << " files in " << folders << " folders, ListFolderFiles " << ms(scanMs)
        << " (host running the event loop " << ms(eventsMs) << "), find -type f " << ms(findMs) << ", ratio "
        << QString::number(ratio, 'f', 2) << " (target <= 1.5)";
    if (listed != kFiles || !findOk)
        out << " FAILED: wrong result";
    else if (ratio > 1.5)
        out << " SLOW";
    out << '\n';
    out.flush();
}

} // namespace folvane
