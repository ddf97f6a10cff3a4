#include "files/MergeIntoList.h"

#include "toc/FileMarker.h"
#include "toc/ListBox.h"

#include <QSet>

namespace folvane {

QString pathKey(const QString& path, PathStyle style) {
    return style == PathStyle::Windows ? path.toCaseFolded() : path;
}

void MergeIntoList(const QStringList& Items, ListBox& List, bool KeepOld, int SelectIndex, PathStyle style) {
    if (Items.isEmpty())
        return;

    QList<ListEntry> merged;
    merged.reserve(Items.size() + (KeepOld ? List.count() : 0));
    for (const QString& path : Items)
        merged.append(ListEntry{path, FileMarker::kFile, false});

    if (KeepOld) {
        // A hash of the batch keeps merging linear; old entries are compared with the
        // batch only, so duplicates among them survive.
        QSet<QString> inBatch;
        inBatch.reserve(Items.size());
        for (const QString& path : Items)
            inBatch.insert(pathKey(path, style));
        for (const ListEntry& old : List.entries()) {
            if (!inBatch.contains(pathKey(old.text, style)))
                merged.append(ListEntry{old.text, old.itemData, false});
        }
    }

    List.ensureRoom(static_cast<int>(merged.size()) - List.count());
    ListBox::Batch update(List);
    List.setEntries(std::move(merged));
    if (List.isValidIndex(SelectIndex)) {
        List.setSelected(SelectIndex, true);
        List.setListIndex(SelectIndex);
    }
}

} // namespace folvane
