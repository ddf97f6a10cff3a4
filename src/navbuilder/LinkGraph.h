#pragma once

#include "toc/ListBox.h"
#include "util/PathStyle.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
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
        bool fragment = false;     // it points to a place inside its target
        bool lastToTarget = false; // no later link on the page goes to the same target
    };

    // The file-list entries for which isPage holds and that lie inside folder; each page is
    // read and decoded as the title pass reads it. homePage is the compile settings' home page.
    LinkGraph(const QList<ListEntry>& files, const QString& folder, PathStyle style,
              const std::function<bool(qint32)>& isPage, const QString& homePage);

    qint32 pageCount() const { return static_cast<qint32>(fileIndex_.size()); }
    // The file-list position of a page.
    qint32 fileIndex(qint32 page) const { return fileIndex_[static_cast<size_t>(page)]; }
    const std::vector<Link>& links(qint32 page) const { return links_[static_cast<size_t>(page)]; }
    // The page the walk starts from: the home page when it is one of the pages, else
    // index.htm(l) or default.htm(l) at the top of the folder, else a top-level index.*
    // page (index.zh-cn.html), else the first page. -1 when there is no page.
    qint32 home() const { return home_; }

private:
    void choosePages(const QList<ListEntry>& files, const std::function<bool(qint32)>& isPage);
    void chooseHome(const QString& homePage);
    void readLinks(const QList<ListEntry>& files);
    // The page an address on a page in folder leads to, -1 for none.
    qint32 resolve(const QString& pageFolder, QStringView address, bool& fragment) const;
    // The key of a path relative to the project folder: "/" between names, case folded.
    static QString key(QString relative);
    QString relativeToFolder(const QString& path) const;

    QString folder_;
    PathStyle style_;
    std::vector<qint32> fileIndex_;
    std::vector<QString> relative_; // each page's path below the folder, "/" separated
    QHash<QString, qint32> pageByKey_;
    std::vector<std::vector<Link>> links_;
    qint32 home_ = -1;
};

} // namespace folvane
