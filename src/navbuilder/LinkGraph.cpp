#include "navbuilder/LinkGraph.h"

#include "navbuilder/PageLinks.h"
#include "util/PathJoin.h"
#include "util/Paths.h"
#include "util/TextFile.h"

#include <QUrl>

#include <array>

namespace folvane {

namespace {

bool isAbsolute(const QString& path, PathStyle style) {
    if (style == PathStyle::Posix)
        return path.startsWith(u'/');
    return path.startsWith(u'\\') || path.startsWith(u'/') || (path.size() >= 2 && path[1] == u':');
}

// Addresses that leave the folder: another site or scheme ("http:", "mailto:"), a drive
// ("C:\"), the root of the disk or a server ("/x", "//host").
bool leavesFolder(QStringView address) {
    if (address.startsWith(u'/') || address.startsWith(u'\\'))
        return true;
    for (qsizetype i = 0; i < address.size(); ++i) {
        const QChar c = address[i];
        if (c == u':')
            return true;
        if (c == u'/' || c == u'\\' || c == u'?' || c == u'#')
            return false;
    }
    return false;
}

} // namespace

LinkGraph::LinkGraph(const QList<ListEntry>& files, const QString& folder, PathStyle style,
                     const std::function<bool(qint32)>& isPage, const QString& homePage)
    : folder_(folder), style_(style) {
    choosePages(files, isPage);
    chooseHome(homePage);
    readLinks(files);
}

QString LinkGraph::key(QString relative) {
    return relative.replace(u'\\', u'/').toCaseFolded();
}

QString LinkGraph::relativeToFolder(const QString& path) const {
    QString rest = path.mid(folder_.size());
    while (rest.startsWith(pathSeparator(style_)) || rest.startsWith(u'/'))
        rest.remove(0, 1);
    return rest;
}

void LinkGraph::choosePages(const QList<ListEntry>& files, const std::function<bool(qint32)>& isPage) {
    if (folder_.isEmpty())
        return;
    for (qint32 i = 0; i < files.size(); ++i) {
        if (!isPage(i) || !isInFolder(files[i].text, folder_, style_))
            continue;
        QString relative = relativeToFolder(files[i].text);
        if (style_ == PathStyle::Windows)
            relative.replace(u'\\', u'/');
        // The first of two names that differ only in case is the one links reach.
        const auto page = static_cast<qint32>(fileIndex_.size());
        if (pageByKey_.contains(key(relative)))
            continue;
        pageByKey_.insert(key(relative), page);
        fileIndex_.push_back(i);
        relative_.push_back(relative);
    }
}

void LinkGraph::chooseHome(const QString& homePage) {
    if (fileIndex_.empty())
        return;
    if (!homePage.isEmpty()) {
        const QString full = isAbsolute(homePage, style_) ? homePage : joinPath(folder_, homePage, style_);
        if (isInFolder(full, folder_, style_)) {
            home_ = pageByKey_.value(key(relativeToFolder(full)), -1);
            if (home_ >= 0)
                return;
        }
    }
    constexpr std::array<QLatin1StringView, 4> kHomeNames{
        QLatin1StringView("index.htm"), QLatin1StringView("index.html"), QLatin1StringView("default.htm"),
        QLatin1StringView("default.html")};
    for (const QLatin1StringView name : kHomeNames) {
        home_ = pageByKey_.value(QString(name), -1);
        if (home_ >= 0)
            return;
    }
    for (qint32 page = 0; page < pageCount(); ++page) {
        const QString& relative = relative_[static_cast<size_t>(page)];
        if (!relative.contains(u'/') && relative.startsWith(QLatin1StringView("index."), Qt::CaseInsensitive)) {
            home_ = page;
            return;
        }
    }
    home_ = 0;
}

qint32 LinkGraph::resolve(const QString& pageFolder, QStringView address, bool& fragment) const {
    if (leavesFolder(address))
        return -1;
    qsizetype end = address.size();
    const qsizetype hash = address.indexOf(u'#');
    fragment = hash >= 0 && hash + 1 < address.size();
    if (hash >= 0)
        end = hash;
    const qsizetype query = address.first(end).indexOf(u'?');
    if (query >= 0)
        end = query;
    QString path = address.first(end).toString();
    if (path.contains(u'%'))
        path = QUrl::fromPercentEncoding(path.toUtf8());
    path.replace(u'\\', u'/');
    if (path.isEmpty())
        return -1; // the page itself
    QStringList parts = pageFolder.isEmpty() ? QStringList() : pageFolder.split(u'/');
    for (const QStringView part : QStringView(path).split(u'/')) {
        if (part.isEmpty() || part == u".")
            continue;
        if (part == u"..") {
            if (parts.isEmpty())
                return -1; // above the folder
            parts.removeLast();
            continue;
        }
        parts.append(part.toString());
    }
    return pageByKey_.value(key(parts.join(u'/')), -1);
}

void LinkGraph::readLinks(const QList<ListEntry>& files) {
    links_.resize(fileIndex_.size());
    // Pages of one folder share their addresses (style sheets, bars, neighbours): each is resolved once.
    struct Resolved {
        qint32 target;
        bool fragment;
    };
    QHash<QString, Resolved> resolved;
    QString resolvedFolder;
    std::vector<qint32> lastSeen(fileIndex_.size(), -1);
    for (qint32 page = 0; page < pageCount(); ++page) {
        const QString& relative = relative_[static_cast<size_t>(page)];
        const QString pageFolder = relative.left(std::max<qsizetype>(relative.lastIndexOf(u'/'), 0));
        if (pageFolder != resolvedFolder) {
            resolved.clear();
            resolvedFolder = pageFolder;
        }
        const std::optional<QString> text = ReadTextFileQuietly(files[fileIndex(page)].text);
        if (!text)
            continue;
        const PageLinks scanned = PageLinks::scan(*text);

        // Keep the links to other pages, then find each one's place in the lists.
        std::vector<Link>& kept = links_[static_cast<size_t>(page)];
        std::vector<qint32> itemOf;
        for (const PageLinks::Link& link : scanned.links()) {
            if (link.navigation)
                continue;
            auto at = resolved.constFind(link.address);
            if (at == resolved.cend()) {
                Resolved r{-1, false};
                r.target = resolve(pageFolder, link.address, r.fragment);
                at = resolved.insert(link.address, r);
            }
            if (at->target < 0 || at->target == page)
                continue;
            kept.push_back(Link{at->target, -1, at->fragment, false});
            itemOf.push_back(link.item);
        }
        QHash<qint32, qint32> itemHead; // each list item's first kept link
        for (qint32 i = static_cast<qint32>(kept.size()) - 1; i >= 0; --i)
            if (itemOf[static_cast<size_t>(i)] >= 0)
                itemHead.insert(itemOf[static_cast<size_t>(i)], i);
        for (qint32 i = 0; i < static_cast<qint32>(kept.size()); ++i) {
            for (qint32 item = scanned.parentItem(itemOf[static_cast<size_t>(i)]); item >= 0;
                 item = scanned.parentItem(item)) {
                const qint32 head = itemHead.value(item, -1);
                if (head >= 0) {
                    kept[static_cast<size_t>(i)].parent = head;
                    break;
                }
            }
        }
        for (qint32 i = static_cast<qint32>(kept.size()) - 1; i >= 0; --i) {
            Link& link = kept[static_cast<size_t>(i)];
            link.lastToTarget = lastSeen[static_cast<size_t>(link.target)] != page;
            lastSeen[static_cast<size_t>(link.target)] = page;
        }
    }
}

} // namespace folvane
