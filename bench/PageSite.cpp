#include "PageSite.h"

#include <QDir>
#include <QFile>

namespace folvane {

QByteArray PageSite::page(int n) {
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
