#include "project/HhcWriter.h"

#include "formats/SitemapWriter.h"
#include "host/ProjectInfo.h"
#include "toc/FileMarker.h"
#include "toc/ListBox.h"
#include "util/TextFile.h"

#include <QFileInfo>

namespace folvane {

QString buildContentsFile(const ListBox& toc, const ListBox& fileList, const QString& projectFolder, PathStyle style,
                          const FolderTest& isFolder) {
    // The base folder's existence is the same for every entry: ask once.
    const FolderTest test = isFolder ? isFolder : [](const QString& path) { return QFileInfo(path).isDir(); };
    const bool baseIsFolder = test(projectFolder);
    const FolderTest knownBase = [&](const QString& path) { return path == projectFolder ? baseIsFolder : test(path); };

    const int n = toc.count();
    formats::SitemapWriter out(utf8ForFile(QStringLiteral("Folvane.exe  ") + ProjectInfo::homeAddress()),
                               static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const QString name = toc.text(i);
        const qint32 link = toc.itemData(i);
        if (link == kNoLink || FileMarker::isFolder(fileList.itemData(link)))
            out.addBook(lineDepth(name), utf8ForFile(name));
        else
            out.addTopic(
                lineDepth(name), utf8ForFile(name),
                utf8ForFile(RelativePath(fileList.text(link), projectFolder, QStringLiteral("/"), style, knownBase)));
    }
    return QString::fromStdString(out.finish());
}

} // namespace folvane
