#include "document/Project.h"

#include "document/ProjectFileNames.h"
#include "files/Dialogs.h"
#include "files/MergeIntoList.h"
#include "toc/FileMarker.h"
#include "toc/FolderHierarchy.h"
#include "util/Paths.h"
#include "util/RuntimeError.h"

#include <QHash>

#include <algorithm>

namespace folvane {

Project::Project(PathStyle style) : style_(style) {
    l0_.setVisible(false);
    // Every change of what a save writes makes the project unsaved, whoever makes it.
    for (ListBox* list : {&lf_, &l0_, &l1_})
        QObject::connect(list, &ListBox::edited, list, [this] { markEdited(); });
}

void Project::FoldIt() {
    FolderEntries result = insertFolderEntries(lf_.entries(), comparePath_, folderSet_, style_);
    if (result.fileList.size() > kListCapacity)
        throw RuntimeError(
            RuntimeError::ListFull,
            QStringLiteral("文件夹项太多：文件列表最多只能容纳 %1 项，未应用文件夹层次。").arg(kListCapacity));
    lf_.setEntries(std::move(result.fileList));
    folderSet_ = std::move(result.folders);
    LB().setEntries(indentedToc(lf_.entries(), style_));
}

QStringList Project::takeOwnOutput(QStringList& batch, const QStringList& folders) const {
    QStringList taken;
    batch.removeIf([&](const QString& path) {
        const QString parent = ParentFolder(path, style_);
        const bool own = isProjectOutputName(PathPart(path, 0, style_)) &&
                         std::any_of(folders.begin(), folders.end(), [&](const QString& folder) {
                             return isInFolder(parent, folder, style_) && isInFolder(folder, parent, style_);
                         });
        if (own)
            taken.append(path);
        return own;
    });
    return taken;
}

void Project::addFiles(const QStringList& paths) {
    const QList<ListEntry> before = lf_.entries();
    MergeIntoList(paths, lf_, true, 0, style_);
    relinkContents(before);
}

void Project::removeSelectedFiles() {
    QList<qint32> newPosition;
    newPosition.reserve(lf_.count());
    qint32 kept = 0;
    for (const ListEntry& e : lf_.entries()) {
        if (e.selected && FileMarker::isFolder(e.itemData))
            folderSet_.remove(e.text);
        newPosition.append(e.selected ? kNoLink : kept++);
    }
    lf_.removeSelected();
    moveLinks(newPosition);
}

void Project::clear() {
    l0_.clear();
    l1_.clear();
    folderSet_.clear();
    lf_.clear();
    comparePath_.clear();
}

void Project::restore(QList<ListEntry> files, QList<ListEntry> contents, QSet<QString> folders) {
    lf_.setEntries(std::move(files));
    LB().setEntries(std::move(contents));
    folderSet_ = std::move(folders);
}

void Project::relinkContents(const QList<ListEntry>& before) {
    QHash<QString, QList<qint32>> places;
    for (qint32 i = 0; i < lf_.count(); ++i)
        places[pathKey(lf_.text(i), style_)].append(i);
    // The k-th of equal old entries goes to the k-th of them now, or to the one left.
    QHash<QString, qsizetype> seen;
    QList<qint32> newPosition;
    newPosition.reserve(before.size());
    for (const ListEntry& e : before) {
        const QString k = pathKey(e.text, style_);
        const QList<qint32> at = places.value(k);
        const qsizetype n = seen[k]++;
        newPosition.append(at.isEmpty() ? kNoLink : at.value(n, at.constFirst()));
    }
    moveLinks(newPosition);
}

void Project::moveLinks(const QList<qint32>& newPosition) {
    for (int i = 0; i < 2; ++i) {
        ListBox& toc = L(i);
        ListBox::Batch update(toc);
        for (int k = 0; k < toc.count(); ++k) {
            const qint32 link = toc.itemData(k);
            // A link past the end named no page before and names none now.
            if (link >= 0 && link < newPosition.size() && newPosition[link] != link)
                toc.setItemData(k, newPosition[link]);
        }
    }
}

QStringList Project::showFileDialog(Host& host, int mode, const QString& filter, const QString& title,
                                    const QString& defaultExtension) {
    return ShowFileDialog(host, dialogs_, mode, filter, title, defaultExtension, style_);
}

QString Project::browseForFolder(Host& host, const QString& title) {
    QString initial;
    return BrowseForFolder(host, dialogs_, initial, title, false, style_);
}

} // namespace folvane
