#include "toc/FolderHierarchy.h"

#include "toc/FileMarker.h"
#include "util/Paths.h"

#include <cstdlib>

namespace folvane {

namespace {
// The folder below the project folder, as relative parts. The project folder counts
// only as a whole leading folder: with C:\docs, C:\docs2 is not inside it.
QStringList relativeParts(const QString& folder, const QString& projectFolder, PathStyle style) {
    const QChar sep = pathSeparator(style);
    QString r = stripLeadingFolder(folder, projectFolder, style);
    if (r.startsWith(sep))
        r.remove(0, 1);
    if (r.isEmpty())
        return {};
    return r.split(sep);
}
} // namespace

FolderEntries insertFolderEntries(const QList<ListEntry>& fileList, const QString& projectFolder,
                                  const QSet<QString>& folders, PathStyle style) {
    FolderEntries out{{}, folders};
    out.fileList.reserve(fileList.size() + fileList.size() / 8 + 16);
    const QChar sep = pathSeparator(style);
    QString previousFolder;
    qsizetype previousDepth = 0;
    for (const ListEntry& entry : fileList) {
        if (FileMarker::isFolder(entry.itemData)) {
            out.fileList.append(entry);
            continue;
        }
        ListEntry file = entry;
        const QString folder = ParentFolder(entry.text, style);
        if (folder != previousFolder) {
            const QStringList parts = relativeParts(folder, projectFolder, style);
            QString prefix;
            for (qsizetype j = 0; j < parts.size(); ++j) {
                prefix = j == 0 ? parts[0] : prefix + sep + parts[j];
                if (!out.folders.contains(prefix)) {
                    out.folders.insert(prefix);
                    out.fileList.append(ListEntry{prefix, FileMarker::folder(j + 1), false});
                }
            }
            if (parts.size() < previousDepth)
                file.itemData = FileMarker::markedFile(parts.size());
            previousDepth = parts.size();
        }
        previousFolder = folder;
        out.fileList.append(file);
    }
    return out;
}

QList<ListEntry> indentedToc(const QList<ListEntry>& fileList, PathStyle style) {
    QList<ListEntry> toc;
    toc.reserve(fileList.size());
    qint32 previousMarker = 1;
    int previousDepth = -1;
    int depth = 0;
    for (qsizetype i = 0; i < fileList.size(); ++i) {
        const qint32 m = fileList[i].itemData;
        qint32 currentMarker = previousMarker;
        if (m != 0 || previousMarker != 0) {
            currentMarker = m;
            if (m != 0)
                depth = std::abs(m) - 1;
            else if (previousMarker > 0)
                depth = previousDepth + 1;
        }
        toc.append(ListEntry{QString(depth, QLatin1Char(' ')) + PathPart(fileList[i].text, 0, style),
                             static_cast<qint32>(i), fileList[i].selected});
        previousDepth = depth;
        previousMarker = currentMarker;
    }
    return toc;
}

} // namespace folvane
