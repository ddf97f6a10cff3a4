#pragma once

#include "document/Project.h"
#include "toc/ListBox.h"

#include <QList>
#include <QStringList>

namespace folvane::fixtures {

// Entries of the given texts; entry i links to i unless links are given.
inline QList<ListEntry> entriesOf(const QStringList& texts, const QList<int>& links = {}) {
    QList<ListEntry> entries;
    for (qsizetype i = 0; i < texts.size(); ++i)
        entries.append(ListEntry{texts[i], links.isEmpty() ? static_cast<qint32>(i) : links[i], false});
    return entries;
}

inline void fill(ListBox& list, const QStringList& texts, const QList<int>& links = {}) {
    list.setEntries(entriesOf(texts, links));
}

// Puts a file list in place as an opened project's; the contents and the folder set stay.
inline void fill(Project& project, const QStringList& texts, const QList<int>& links = {}) {
    project.restore(entriesOf(texts, links), project.LB().entries(), project.FolderSet());
}

inline void select(ListBox& list, const QList<int>& rows) {
    for (int row : rows)
        list.setSelected(row, true);
}

inline QStringList texts(const ListBox& list) {
    QStringList out;
    for (const ListEntry& e : list.entries())
        out.append(e.text);
    return out;
}

inline QList<int> links(const ListBox& list) {
    QList<int> out;
    for (const ListEntry& e : list.entries())
        out.append(e.itemData);
    return out;
}

inline QList<int> selectedRows(const ListBox& list) {
    QList<int> out;
    for (qsizetype i = 0; i < list.entries().size(); ++i)
        if (list.entries()[i].selected)
            out.append(static_cast<int>(i));
    return out;
}

// "0", "1", ... "n-1": texts that name their original position.
inline QStringList numbered(int n) {
    QStringList out;
    for (int i = 0; i < n; ++i)
        out.append(QString::number(i));
    return out;
}

} // namespace folvane::fixtures
