#pragma once

#include "toc/ListBox.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace folvane {

// The generated help site the figures share: 31000 pages of 8 KB in 1000 folders (40 parts
// of 25 chapters, 31 pages each), every page titled "Page N 说明" between <title> markers.
// Its links make a book: the first page lists the parts, each part's first page its chapters,
// each chapter's first page the chapter's pages; every page has a bar to the first page and a
// glossary, a link to the next page, and references to places in pages all over the book.
struct PageSite {
    static constexpr int kTopFolders = 40;
    static constexpr int kFoldersPerTop = 25;
    static constexpr int kPagesPerFolder = 31;
    static constexpr int kPageBytes = 8 * 1024;

    static constexpr int pages() { return kTopFolders * kFoldersPerTop * kPagesPerFolder; }
    // Folders that hold pages; the parts above them add kTopFolders more.
    static constexpr int folders() { return kTopFolders * kFoldersPerTop; }

    static QByteArray page(int n);
    // Writes the site below root; the pages as file-list entries, in the order written.
    static QList<ListEntry> make(const QString& root);
};

} // namespace folvane
