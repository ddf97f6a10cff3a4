#include "PageSite.h"

#include <QDir>
#include <QFile>

namespace folvane {

namespace {
QByteArray address(int part, int chapter, int page) {
    return "../../part" + QByteArray::number(part) + "/chapter" + QByteArray::number(chapter) + "/page" +
           QByteArray::number(page) + ".htm";
}

// What a page lists: the front page (part 0, chapter 0, page 0) its parts, a part's first page
// its chapters, a chapter's first page the chapter's pages.
QList<QByteArray> listed(int part, int chapter, int page) {
    QList<QByteArray> children;
    if (page != 0)
        return children;
    if (part == 0 && chapter == 0)
        for (int t = 1; t < PageSite::kTopFolders; ++t)
            children.append(address(t, 0, 0));
    if (chapter == 0)
        for (int s = 1; s < PageSite::kFoldersPerTop; ++s)
            children.append(address(part, s, 0));
    for (int p = 1; p < PageSite::kPagesPerFolder; ++p)
        children.append(address(part, chapter, p));
    return children;
}
} // namespace

QByteArray PageSite::page(int n) {
    const int page = n % kPagesPerFolder;
    const int chapter = n / kPagesPerFolder % kFoldersPerTop;
    const int part = n / kPagesPerFolder / kFoldersPerTop;
    QByteArray body = "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html\">\r\n<title>Page " +
                      QByteArray::number(n) + " \xe8\xaf\xb4\xe6\x98\x8e</title>\r\n</head>\r\n<body>\r\n";
    // A bar on every page, browsing links, the page's own contents list.
    body += "<p><a href=\"" + address(0, 0, 0) + "\">\xe9\xa6\x96\xe9\xa1\xb5</a> | <a href=\"" + address(39, 24, 30) +
            "\">Glossary</a> | <a href=\"" + address(part, chapter, (page + 1) % kPagesPerFolder) +
            "\" rel=\"next\">\xe4\xb8\x8b\xe4\xb8\x80\xe9\xa1\xb5</a></p>\r\n<ul>\r\n";
    for (const QByteArray& child : listed(part, chapter, page))
        body += "<li><a href=\"" + child + "\">Section</a></li>\r\n";
    body += "</ul>\r\n";
    // References to places in pages elsewhere in the book, which make cycles.
    int line = 0;
    while (body.size() < kPageBytes - 16) {
        const int other = (n * 7919 + line * 104729) % pages();
        body += "<p>Paragraph " + QByteArray::number(line) +
                " of the help text, \xe5\xb8\xae\xe5\x8a\xa9\xe6\x96\x87\xe6\x9c\xac, with a <a href=\"" +
                address(other / kPagesPerFolder / kFoldersPerTop, other / kPagesPerFolder % kFoldersPerTop,
                        other % kPagesPerFolder) +
                "#p" + QByteArray::number(line) + "\">link</a>.</p>\r\n";
        ++line;
    }
    body.truncate(kPageBytes - 16);
    return body + "\r\n</body></html>";
}

QList<ListEntry> PageSite::make(const QString& root) {
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

} // namespace folvane
