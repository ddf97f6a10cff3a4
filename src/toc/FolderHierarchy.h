#pragma once

#include "toc/ListBox.h"
#include "util/PathStyle.h"

#include <QList>
#include <QSet>
#include <QString>

namespace folvane {

// The file list with a folder entry (marker = depth below the project folder) in front
// of the first file of every folder not yet in `folders`, and files whose folder is
// shallower than the one before them marked with -(depth + 1).
struct FolderEntries {
    QList<ListEntry> fileList;
    QSet<QString> folders;
};
FolderEntries insertFolderEntries(const QList<ListEntry>& fileList, const QString& projectFolder,
                                  const QSet<QString>& folders, PathStyle style);

// The TOC for a file list with folder entries: entry i links to file-list entry i and
// reads as depth spaces followed by the file or folder name.
QList<ListEntry> indentedToc(const QList<ListEntry>& fileList, PathStyle style);

} // namespace folvane
