#pragma once

#include "toc/ListBox.h"
#include "util/PathStyle.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace folvane {

// The pages of a project folder and the links between them. Only links from one page to
// another page of the folder count, and browsing links (next, previous, up, home) do not;
// links to pictures, to files outside the folder and to other sites are dropped. Page
// names are matched without regard to letter case, as the help viewer matches them.
class LinkGraph {
public:
    struct Link {
        qint32 target = -1;
        // The link this one is listed below on the same page (its list item's first link),
        // -1 when it stands in no list below another link.
        qint32 parent = -1;
        bool fragment = false; // it points to a place inside its target
        bool menu = false;     // it stands in a navigation region (<nav>, role="navigation")
        // The one link of the page that stands for all its links to the same target where
        // the target is reached only through menus and bars: the first outside menus, else
        // the first.
        bool representative = false;
    };

    // The file-list entries for which isPage holds and that lie inside folder; each page is
    // read and decoded as the title pass reads it, big sites on every core.
    // homePage is the compile settings' home page.
    LinkGraph(const QList<ListEntry>& files, const QString& folder, PathStyle style,
              const std::function<bool(qint32)>& isPage, const QString& homePage);

    qint32 pageCount() const { return static_cast<qint32>(fileIndex_.size()); }
    // The file-list position of a page.
    qint32 fileIndex(qint32 page) const { return fileIndex_[static_cast<size_t>(page)]; }
    const std::vector<Link>& links(qint32 page) const { return links_[static_cast<size_t>(page)]; }
    // The page the walk starts from: the home page when it is one of the pages, else
    // index.htm(l) or default.htm(l) at the top of the folder, else a top-level index.*
    // page (index.zh-cn.html), else the first page of the top-most folder that holds pages,
    // in file-list order. -1 when there is no page.
    qint32 home() const { return home_; }

private:
    // A page name as the table knows it.
    struct Name {
        quint64 hash;
        qsizetype length;
    };
    // A link whose target is named but not yet looked up.
    struct Pending {
        Name name;
        qint32 item;
        bool fragment;
        bool menu;
    };
    // What one reading thread works with.
    struct Scratch {
        std::vector<Pending> pending;
        std::u16string key;
        std::vector<qint32> seenOn;       // the page that last linked each target
        std::vector<qint32> firstLink;    // and its first link there
        std::vector<qint32> firstContent; // and its first link outside menus, -1 for none
    };

    void choosePages(const QList<ListEntry>& files, const std::function<bool(qint32)>& isPage);
    void chooseHome(const QString& homePage);
    void readLinks(const QList<ListEntry>& files);
    void readPage(qint32 page, const QString& path, Scratch& scratch);
    // The name of the page that a path on a page in pageFolder leads to; nothing above the
    // folder. key is room to work in.
    static std::optional<Name> nameOf(QStringView pageFolder, QStringView path, std::u16string& key);
    // The page whose key or name this is, -1 for none.
    qint32 pageNamed(QStringView key) const;
    qint32 pageNamed(const Name& name) const;
    void prefetch(const Name& name) const;
    void indexKeys();
    static quint64 hashOf(QStringView key);
    QString relativeToFolder(const QString& path) const;

    QString folder_;
    PathStyle style_;
    std::vector<qint32> fileIndex_;
    std::vector<QString> relative_; // each page's path below the folder, "/" separated
    std::vector<QString> keys_;     // the same, case folded
    // Open addressing over keys_: a big site looks pages up millions of times.
    struct Slot {
        quint64 hash = 0;
        qint32 page = -1;
        qsizetype length = 0;
    };
    std::vector<Slot> table_;
    std::vector<std::vector<Link>> links_;
    qint32 home_ = -1;
};

} // namespace folvane
