#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace folvane {

// The links of one web page in document order: <a> and <area> addresses and the pages
// that <frame> and <iframe> show, with character references decoded. Comments, scripts
// and style sheets hold none. Lists (<ul>, <ol>, <dl>) give the links their nesting: a
// link inside a list that stands in an item (<li>, or <dt> with its <dd>) belongs below
// that item, the way a table of contents is written.
class PageLinks {
public:
    PageLinks() = default;
    PageLinks(const PageLinks&) = delete; // the links view the page
    PageLinks& operator=(const PageLinks&) = delete;
    PageLinks(PageLinks&&) = default;
    PageLinks& operator=(PageLinks&&) = default;

    struct Link {
        QStringView address; // into the page, or into the decoded copy
        qint32 item = -1;    // the list item the link stands in, -1 outside lists
        // Browsing rather than content: rel="next" and its kind, the access keys of
        // previous, next, up and home, or a caption such as "Next" or "上一页".
        bool navigation = false;
        // Inside a <nav> or an element with role="navigation": a menu rather than content.
        bool inNavigationRegion = false;
    };

    static PageLinks scan(const QString& html);

    const QList<Link>& links() const { return links_; }
    qint32 itemCount() const { return static_cast<qint32>(itemParents_.size()); }
    // The item that holds the list an item stands in, -1 for items of an outermost list.
    qint32 parentItem(qint32 item) const { return item < 0 ? -1 : itemParents_[item]; }

private:
    QString html_;
    QStringList decoded_;
    QList<Link> links_;
    QList<qint32> itemParents_;
};

} // namespace folvane
