#include "project/HhcWriter.h"

#include "host/ProjectInfo.h"
#include "toc/FileMarker.h"
#include "toc/ListBox.h"

#include <QFileInfo>

namespace folvane {

namespace {
const QString crlf = QStringLiteral("\r\n");

QString header() {
    const QStringList lines = {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">"),
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral("<meta name=\"GENERATOR\" content=\"Folvane.exe  ") + ProjectInfo::homeAddress() +
            QStringLiteral("\">"),
        QStringLiteral("<!-- Sitemap 1.0 -->"),
        QStringLiteral("</HEAD><BODY>"),
        QStringLiteral("<BASE HREF=\"\\\">"),
        QStringLiteral("<OBJECT type=\"text/site properties\">"),
        QStringLiteral("    <param name=\"ExWindow Styles\" value=\"0x200\">"),
        QStringLiteral("  <param name=\"Window Styles\" value=\"0x800025\">"),
        QStringLiteral(" <param name=\"Font\" value=\"宋体,9,0\">"),
        QStringLiteral("</OBJECT>"),
        QStringLiteral("<OBJECT type=\"text/site properties\"><param name=\"Foreground\" "
                       "value=\"0xa54a00\"></OBJECT>"),
    };
    return lines.join(crlf) + crlf;
}

// A quote would end the value early, and viewers drop the entry and every one after it.
QString attributeValue(const QString& value) {
    return QString(value).replace(u'"', QStringLiteral("&quot;"));
}

QString tabs(int n) {
    return QString(n, u'\t');
}

void appendTopic(QString& out, int level, const QString& name, const QString& target) {
    out += tabs(level) + QStringLiteral("<LI><OBJECT type=\"text/sitemap\">") + crlf;
    out += tabs(level + 1) + QStringLiteral("  <param name=\"Name\" value=\"") + attributeValue(name) +
           QStringLiteral("\">") + crlf;
    out += tabs(level + 1) + QStringLiteral("  <param name=\"Local\" value=\"") + attributeValue(target) +
           QStringLiteral("\">") + crlf;
    out += tabs(level) + QStringLiteral("    </OBJECT>") + crlf;
    out += tabs(level) + QStringLiteral("</LI>") + crlf;
}

void appendBook(QString& out, int level, const QString& name) {
    out += tabs(level) + QStringLiteral("<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"") +
           attributeValue(name) + QStringLiteral("\"><param name=\"ImageNumber\" value=\"1\"></OBJECT></LI>") + crlf;
}
} // namespace

QString buildContentsFile(const ListBox& toc, const ListBox& fileList, const QString& projectFolder, PathStyle style,
                          const FolderTest& isFolder) {
    // The base folder's existence is the same for every entry: ask once.
    const FolderTest test = isFolder ? isFolder : [](const QString& path) { return QFileInfo(path).isDir(); };
    const bool baseIsFolder = test(projectFolder);
    const FolderTest knownBase = [&](const QString& path) { return path == projectFolder ? baseIsFolder : test(path); };

    // One buffer, sized for the usual entry, so a large TOC is not copied as it grows.
    const int n = toc.count();
    QString entries;
    entries.reserve(2048 + qsizetype(n) * 224);
    entries += header() + QStringLiteral("<UL>") + crlf;
    for (int i = 0; i < n; ++i) {
        const QString name = toc.text(i);
        const int level = lineDepth(name);
        const int next = i + 1 < toc.count() ? lineDepth(toc.text(i + 1)) : 0;
        const qint32 link = toc.itemData(i);
        if (link == kNoLink || FileMarker::isFolder(fileList.itemData(link)))
            appendBook(entries, level, name);
        else
            appendTopic(entries, level, name,
                        RelativePath(fileList.text(link), projectFolder, QStringLiteral("/"), style, knownBase));
        if (next > level)
            entries += tabs(level) + QStringLiteral("<UL>") + crlf;
        for (int j = level - 1; j >= next; --j)
            entries += tabs(j) + QStringLiteral("</UL>") + crlf;
    }
    entries += QStringLiteral("</UL>") + crlf + QStringLiteral("</BODY></HTML>");
    return entries;
}

} // namespace folvane
