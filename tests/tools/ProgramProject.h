#pragma once

#include "project/HhcWriter.h"
#include "project/HhpWriter.h"
#include "toc/ListBox.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace folvane {

// A project saved by the program's own writers, for the compiler's tests.
struct ProgramProject {
    QString output;
    QString home;
    QString title;
    QStringList files; // absolute paths
    // The contents: each entry's text (its depth as leading spaces) and its page's index in
    // files, -1 for a book.
    QList<std::pair<QString, int>> contents;
    QString window = QStringLiteral("Folvane_261206_070509");

    QString text() const {
        ListBox list;
        fillFileList(list);
        return buildProjectFile({output, title, home, true}, list, window);
    }

    QString contentsText(const QString& folder) const {
        ListBox list;
        fillFileList(list);
        ListBox toc;
        for (const auto& [text, page] : contents) {
            toc.addItem(text);
            toc.setItemData(toc.count() - 1, page);
        }
        return buildContentsFile(toc, list, folder, PathStyle::Posix, [](const QString&) { return true; });
    }

private:
    void fillFileList(ListBox& list) const {
        for (const QString& file : files)
            list.addItem(file);
    }
};

} // namespace folvane
