#include "navbuilder/LinkGraph.h"

#include "navbuilder/PageLinks.h"
#include "util/PathJoin.h"
#include "util/Paths.h"
#include "util/TextFile.h"

#include <QSet>
#include <QUrl>

#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <thread>

namespace folvane {

namespace {

// Pages a reading thread takes at a time, and the fewest pages worth a second thread.
constexpr qint32 kPagesPerTake = 32;
constexpr qint32 kPagesPerThread = 256;
// Big pages are read for their links too (an index, a manual in one page); the title pass
// keeps its own limit.
constexpr qint64 kMaxPageBytes = 64 * 1024 * 1024;

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
    for (const QChar c : address) {
        if (c == u':')
            return true;
        if (c == u'/' || c == u'\\' || c == u'?' || c == u'#')
            return false;
    }
    return false;
}

// The key of a path relative to the project folder: "/" between names, case folded.
QString keyOf(QString relative) {
    return relative.replace(u'\\', u'/').toCaseFolded();
}

} // namespace

LinkGraph::LinkGraph(const QList<ListEntry>& files, const QString& folder, PathStyle style,
                     const std::function<bool(qint32)>& isPage, const QString& homePage)
    : folder_(folder), style_(style) {
    choosePages(files, isPage);
    chooseHome(homePage);
    readLinks(files);
}

QString LinkGraph::relativeToFolder(const QString& path) const {
    QString rest = path.mid(folder_.size());
    while (rest.startsWith(pathSeparator(style_)) || rest.startsWith(u'/'))
        rest.remove(0, 1);
    return rest;
}

// 64 bits on every system: with the length they tell a site's page names apart beyond any
// real chance of a mistake, so a look-up never reads the name itself, which is what costs.
quint64 LinkGraph::hashOf(QStringView key) {
    const quint64 low = qHash(key, 0);
    if constexpr (sizeof(size_t) >= sizeof(quint64))
        return low;
    else
        return low | quint64(qHash(key, 1)) << 32;
}

qint32 LinkGraph::pageNamed(QStringView key) const {
    return pageNamed(Name{hashOf(key), key.size()});
}

qint32 LinkGraph::pageNamed(const Name& name) const {
    if (table_.empty())
        return -1;
    const size_t mask = table_.size() - 1;
    for (size_t i = static_cast<size_t>(name.hash) & mask;; i = (i + 1) & mask) {
        const Slot& slot = table_[i];
        if (slot.page < 0)
            return -1;
        if (slot.hash == name.hash && slot.length == name.length)
            return slot.page;
    }
}

void LinkGraph::prefetch(const Name& name) const {
#if defined(__GNUC__)
    if (!table_.empty())
        __builtin_prefetch(&table_[static_cast<size_t>(name.hash) & (table_.size() - 1)]);
#else
    Q_UNUSED(name);
#endif
}

void LinkGraph::indexKeys() {
    size_t size = 16;
    while (size < keys_.size() * 2)
        size *= 2;
    table_.assign(size, Slot{});
    for (qint32 page = 0; page < pageCount(); ++page) {
        const QString& key = keys_[static_cast<size_t>(page)];
        const quint64 hash = hashOf(key);
        size_t i = static_cast<size_t>(hash) & (size - 1);
        while (table_[i].page >= 0)
            i = (i + 1) & (size - 1);
        table_[i] = Slot{hash, page, key.size()};
    }
}

void LinkGraph::choosePages(const QList<ListEntry>& files, const std::function<bool(qint32)>& isPage) {
    if (folder_.isEmpty())
        return;
    QSet<QString> seen;
    for (qint32 i = 0; i < files.size(); ++i) {
        if (!isPage(i) || !isInFolder(files[i].text, folder_, style_))
            continue;
        QString relative = relativeToFolder(files[i].text);
        if (style_ == PathStyle::Windows)
            relative.replace(u'\\', u'/');
        // The first of two names that differ only in case is the one links reach.
        QString key = keyOf(relative);
        if (seen.contains(key))
            continue;
        seen.insert(key);
        keys_.push_back(std::move(key));
        fileIndex_.push_back(i);
        relative_.push_back(std::move(relative));
    }
    indexKeys();
}

void LinkGraph::chooseHome(const QString& homePage) {
    if (fileIndex_.empty())
        return;
    if (!homePage.isEmpty()) {
        const QString full = isAbsolute(homePage, style_) ? homePage : joinPath(folder_, homePage, style_);
        if (isInFolder(full, folder_, style_)) {
            home_ = pageNamed(keyOf(relativeToFolder(full)));
            if (home_ >= 0)
                return;
        }
    }
    for (const QStringView name : {u"index.htm", u"index.html", u"default.htm", u"default.html"}) {
        home_ = pageNamed(name);
        if (home_ >= 0)
            return;
    }
    // A top-level index.* page (index.zh-cn.html), else the first page of the top-most folder.
    qsizetype fewestFolders = std::numeric_limits<qsizetype>::max();
    for (qint32 page = 0; page < pageCount(); ++page) {
        const QString& relative = relative_[static_cast<size_t>(page)];
        const qsizetype folders = relative.count(u'/');
        if (folders == 0 && relative.startsWith(QLatin1StringView("index."), Qt::CaseInsensitive)) {
            home_ = page;
            return;
        }
        if (folders < fewestFolders) {
            fewestFolders = folders;
            home_ = page;
        }
    }
}

std::optional<LinkGraph::Name> LinkGraph::nameOf(QStringView pageFolder, QStringView path, std::u16string& key) {
    QString decoded;
    if (path.contains(u'%')) {
        decoded = QUrl::fromPercentEncoding(path.toUtf8());
        path = decoded;
    }
    // The folder, then each name of the path: "." stays, ".." goes up. Built in place and
    // folded as it goes, since a big site has millions of links.
    key.clear();
    bool ascii = true;
    const auto append = [&key, &ascii](QStringView name) {
        if (!key.empty())
            key += u'/';
        const size_t from = key.size();
        key.append(reinterpret_cast<const char16_t*>(name.utf16()), static_cast<size_t>(name.size()));
        for (size_t i = from; i < key.size(); ++i) {
            char16_t& u = key[i];
            ascii = ascii && u < 0x80;
            if (u >= u'A' && u <= u'Z')
                u |= 0x20;
        }
    };
    if (!pageFolder.isEmpty())
        append(pageFolder);
    qsizetype begin = 0;
    while (begin <= path.size()) {
        qsizetype end = begin;
        while (end < path.size() && path[end] != u'/' && path[end] != u'\\')
            ++end;
        const QStringView part = path.sliced(begin, end - begin);
        begin = end + 1;
        const bool dots = !part.isEmpty() && part.size() <= 2 && part[0] == u'.' && part.back() == u'.';
        if (part.isEmpty() || (dots && part.size() == 1))
            continue;
        if (dots) {
            if (key.empty())
                return std::nullopt; // above the folder
            const size_t slash = key.rfind(u'/');
            key.resize(slash == std::u16string::npos ? 0 : slash);
            continue;
        }
        append(part);
    }
    const QStringView built(key.data(), static_cast<qsizetype>(key.size()));
    if (ascii)
        return Name{hashOf(built), built.size()};
    const QString folded = built.toString().toCaseFolded();
    return Name{hashOf(folded), folded.size()};
}

void LinkGraph::readLinks(const QList<ListEntry>& files) {
    links_.resize(fileIndex_.size());
    const qint32 pages = pageCount();
    const auto threads = static_cast<qint32>(std::clamp<unsigned>(std::thread::hardware_concurrency(), 1,
                                                                  static_cast<unsigned>(pages / kPagesPerThread + 1)));
    std::atomic<qint32> next{0};
    // Each page's links depend on that page alone: threads take pages in turns.
    const auto work = [&] {
        Scratch scratch;
        scratch.seenOn.assign(static_cast<size_t>(pages), -1);
        scratch.firstLink.resize(static_cast<size_t>(pages));
        scratch.firstContent.resize(static_cast<size_t>(pages));
        for (qint32 first = next.fetch_add(kPagesPerTake); first < pages; first = next.fetch_add(kPagesPerTake))
            for (qint32 page = first; page < std::min(first + kPagesPerTake, pages); ++page)
                readPage(page, files[fileIndex(page)].text, scratch);
    };
    std::vector<std::thread> helpers;
    for (qint32 t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
}

void LinkGraph::readPage(qint32 page, const QString& path, Scratch& scratch) {
    const std::optional<QString> text = ReadTextFileQuietly(path, kMaxPageBytes);
    if (!text)
        return;
    const PageLinks scanned = PageLinks::scan(*text);
    const QString& relative = relative_[static_cast<size_t>(page)];
    const QStringView pageFolder = QStringView(relative).first(std::max<qsizetype>(relative.lastIndexOf(u'/'), 0));

    // Name every link's target first, then look them up: the look-ups wait on memory, and
    // asking for the table's places ahead lets them wait together.
    std::vector<Pending>& pending = scratch.pending;
    pending.clear();
    for (const PageLinks::Link& link : scanned.links()) {
        if (link.navigation || leavesFolder(link.address))
            continue;
        const qsizetype hash = link.address.indexOf(u'#');
        qsizetype pathEnd = hash < 0 ? link.address.size() : hash;
        const qsizetype query = link.address.first(pathEnd).indexOf(u'?');
        if (query >= 0)
            pathEnd = query;
        if (pathEnd == 0)
            continue; // the page itself
        const std::optional<Name> name = nameOf(pageFolder, link.address.first(pathEnd), scratch.key);
        if (!name)
            continue;
        prefetch(*name);
        pending.push_back(
            Pending{*name, link.item, hash >= 0 && hash + 1 < link.address.size(), link.inNavigationRegion});
    }

    // Keep the links to other pages, then find each one's place in the lists.
    std::vector<Link>& kept = links_[static_cast<size_t>(page)];
    std::vector<qint32> itemOf;
    kept.reserve(pending.size());
    itemOf.reserve(pending.size());
    for (const Pending& p : pending) {
        const qint32 target = pageNamed(p.name);
        if (target < 0 || target == page)
            continue;
        kept.push_back(Link{target, -1, p.fragment, p.menu, false});
        itemOf.push_back(p.item);
    }
    const auto count = static_cast<qint32>(kept.size());
    std::vector<qint32> itemHead(static_cast<size_t>(scanned.itemCount()), -1); // each item's first kept link
    for (qint32 i = count - 1; i >= 0; --i)
        if (itemOf[static_cast<size_t>(i)] >= 0)
            itemHead[static_cast<size_t>(itemOf[static_cast<size_t>(i)])] = i;
    for (qint32 i = 0; i < count; ++i) {
        for (qint32 item = scanned.parentItem(itemOf[static_cast<size_t>(i)]); item >= 0;
             item = scanned.parentItem(item)) {
            if (itemHead[static_cast<size_t>(item)] >= 0) {
                kept[static_cast<size_t>(i)].parent = itemHead[static_cast<size_t>(item)];
                break;
            }
        }
    }
    for (qint32 i = 0; i < count; ++i) {
        const Link& link = kept[static_cast<size_t>(i)];
        const auto t = static_cast<size_t>(link.target);
        if (scratch.seenOn[t] != page) {
            scratch.seenOn[t] = page;
            scratch.firstLink[t] = i;
            scratch.firstContent[t] = -1;
        }
        if (!link.menu && scratch.firstContent[t] < 0)
            scratch.firstContent[t] = i;
    }
    for (qint32 i = 0; i < count; ++i) {
        Link& link = kept[static_cast<size_t>(i)];
        const auto t = static_cast<size_t>(link.target);
        link.representative = i == (scratch.firstContent[t] >= 0 ? scratch.firstContent[t] : scratch.firstLink[t]);
    }
}

} // namespace folvane
