#include "TitleBench.h"

#include "NullHost.h"
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
constexpr int kTopFolders = 40;
constexpr int kFoldersPerTop = 25; // 1000 folders holding pages
constexpr int kPagesPerFolder = 31;
constexpr int kPageBytes = 8 * 1024;
constexpr double kTargetRatio = 1.3;

// Lets events run after every entry the way the program's own host does.
class EventLoopHost : public NullHost {
public:
    void doEvents() override { QCoreApplication::processEvents(); }
};

QByteArray page(int n) {
    QByteArray head = "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html\">\r\n<title>Page " +
                      QByteArray::number(n) + " \xe8\xaf\xb4\xe6\x98\x8e</title>\r\n</head>\r\n<body>\r\n";
    QByteArray body = head;
    int line = 0;
    while (body.size() < kPageBytes - 16)
        body += "<p>Paragraph " + QByteArray::number(line++) +
                " of the help text, \xe5\xb8\xae\xe5\x8a\xa9\xe6\x96\x87\xe6\x9c\xac, with a <a "
                "href=\"x.htm\">link</a>.</p>\r\n";
    body.truncate(kPageBytes - 16);
    return body + "\r\n</body></html>";
}

// The file list in the order the folder scan gives it.
QList<ListEntry> makeSite(const QString& root) {
    QList<ListEntry> files;
    int n = 0;
    for (int t = 0; t < kTopFolders; ++t) {
        for (int s = 0; s < kFoldersPerTop; ++s) {
            const QString folder = root + QStringLiteral("/part%1/chapter%2").arg(t).arg(s);
            QDir().mkpath(folder);
            for (int p = 0; p < kPagesPerFolder; ++p, ++n) {
                const QString path = folder + QStringLiteral("/page%1.htm").arg(p);
                QFile file(path);
                if (file.open(QIODevice::WriteOnly))
                    file.write(page(n));
                files.append(ListEntry{path, 0, false});
            }
        }
    }
    return files;
}

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
    main.ComparePath = root;
    main.LF.setEntries(files);
    NavSettings settings;
    settings.titleMode = NavSettings::BetweenMarkers;
    keepBest(best, [&] { NavigationPass(main, host, settings).run(); });
    return {main.LB().count(), titledPages(main.LB()), host.messages()};
}
} // namespace

void benchTitlePass(QTextStream& out) {
    QTemporaryDir dir;
    const QList<ListEntry> files = makeSite(dir.path());
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
        << kTopFolders * kFoldersPerTop << " folders, " << result.tocEntries << " TOC entries, " << result.titled
        << " titled, " << QString::number(passMs, 'f', 1) << " ms (host running the event loop "
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
