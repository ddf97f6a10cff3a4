#include "navbuilder/NavigationPass.h"

#include "document/Project.h"
#include "document/ProjectFileNames.h"
#include "files/WildcardPattern.h"
#include "host/Host.h"
#include "navbuilder/FirstNonBlankLine.h"
#include "navbuilder/LinkGraph.h"
#include "navbuilder/LinkWalk.h"
#include "navbuilder/TitleBetween.h"
#include "toc/FileMarker.h"
#include "util/Paths.h"
#include "util/RuntimeError.h"
#include "util/TextFile.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace folvane {

namespace {
// Runs one step; a failing step is skipped.
template <typename Step> void tryStep(Step&& step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

// "*." followed by each type; an invalid type never matches.
std::vector<std::optional<WildcardPattern>> exclusionPatterns(const QString& types) {
    std::vector<std::optional<WildcardPattern>> patterns;
    if (types.isEmpty())
        return patterns;
    for (const QString& type : types.split(QLatin1Char(';'))) {
        try {
            patterns.emplace_back(WildcardPattern(QString(QStringLiteral("*.") + type)));
        } catch (const RuntimeError&) {
            patterns.emplace_back(std::nullopt);
        }
    }
    return patterns;
}

bool matchesAny(const QString& text, const std::vector<std::optional<WildcardPattern>>& patterns) {
    for (const auto& pattern : patterns)
        if (pattern && pattern->matches(text))
            return true;
    return false;
}

// The file-type tests of the title modes, letter case counting: "*.ht*" holds for any
// path with ".ht" in it, "*.txt" for paths ending in ".txt".
bool isPageOrText(const QString& path) {
    return path.contains(QStringLiteral(".ht")) || path.endsWith(QStringLiteral(".txt"));
}
bool isTextFile(const QString& path) {
    return path.endsWith(QStringLiteral(".txt"));
}

// The files that the reading order lists: web pages and text files, by the end of their name.
bool isPageName(const QString& name) {
    constexpr std::array<QLatin1StringView, 5> kEndings{QLatin1StringView(".htm"), QLatin1StringView(".html"),
                                                        QLatin1StringView(".xhtml"), QLatin1StringView(".shtml"),
                                                        QLatin1StringView(".txt")};
    return std::any_of(kEndings.begin(), kEndings.end(),
                       [&name](QLatin1StringView end) { return name.endsWith(end, Qt::CaseInsensitive); });
}
} // namespace

NavigationPass::NavigationPass(Project& project, Host& host, NavSettings settings)
    : project_(project), host_(host), settings_(std::move(settings)), style_(project.pathStyle()) {
    if (settings_.excludeTypes)
        excluded_ = exclusionPatterns(settings_.excludedTypes);
}

void NavigationPass::run() {
    const bool linkOrder = settings_.order == NavSettings::Order::Links;
    if (settings_.applyFolderHierarchy && !linkOrder)
        applyFolderHierarchy();
    host_.setBusy(true);
    project_.LB().setVisible(false);
    if (linkOrder)
        buildReadingOrder();
    excludeEntries();
    giveTitles();
    host_.setBusy(false);
    // The list in use may have changed while events ran (drag-sort switch).
    project_.LB().setVisible(true);
}

void NavigationPass::applyFolderHierarchy() {
    // The folder step is a command of its own: its failure is shown, then the pass goes on.
    try {
        project_.FoldIt();
    } catch (const RuntimeError& e) {
        host_.messageBox(e.description(), MsgButtons::OkOnly, MsgIcon::Critical);
    }
}

bool NavigationPass::linkedMarker(qint32 link, qint32& marker) const {
    if (!project_.LF().isValidIndex(link))
        return false;
    marker = project_.LF().itemData(link);
    return true;
}

bool NavigationPass::isReadingOrderPage(const ListEntry& file) const {
    if (FileMarker::isFolder(file.itemData))
        return false;
    const QString name = PathPart(file.text, 0, style_);
    return isPageName(name) && !matchesAny(name.toLower(), excluded_) && !isProjectOutputName(name);
}

// The pages in the order the home page's links give, then under one folder entry the pages
// no link reaches, in the order of the file list.
void NavigationPass::buildReadingOrder() {
    const QList<ListEntry> files = project_.LF().entries();
    const LinkGraph graph(
        files, project_.ComparePath(), style_, [&](qint32 i) { return isReadingOrderPage(files[i]); },
        settings_.homePage);
    const LinkWalk walk(graph);
    const int depthLimit = std::clamp(settings_.depthLimit, NavSettings::kMinDepthLimit, NavSettings::kMaxDepthLimit);
    QList<ListEntry> toc;
    std::vector<bool> listed(static_cast<size_t>(files.size()), false);
    for (const LinkWalk::Entry& e : walk.order()) {
        const qint32 file = graph.fileIndex(e.page);
        listed[static_cast<size_t>(file)] = true;
        toc.append(
            ListEntry{QString(std::min(e.depth, depthLimit), QLatin1Char(' ')) + PathPart(files[file].text, 0, style_),
                      file, false});
    }
    const qsizetype reached = toc.size();
    for (qint32 i = 0; i < files.size(); ++i)
        if (!listed[static_cast<size_t>(i)] && isReadingOrderPage(files[i]))
            toc.append(ListEntry{QLatin1Char(' ') + PathPart(files[i].text, 0, style_), i, false});
    if (toc.size() > reached)
        toc.insert(reached, ListEntry{QStringLiteral("其他页面"), -1, false});
    try {
        project_.LB().setEntries(std::move(toc));
    } catch (const RuntimeError& e) {
        host_.messageBox(e.description(), MsgButtons::OkOnly, MsgIcon::Critical);
    }
}

// The excluded types when they are asked for, and always the project's own files and help
// files, which a second run over the same folder finds there.
void NavigationPass::excludeEntries() {
    const auto& patterns = excluded_;
    ListBox& toc = project_.LB();
    // No events run here, so one pass over a copy: removing entry by entry would move
    // the tail of a long list once per removal.
    QList<ListEntry> kept;
    kept.reserve(toc.count());
    int current = toc.listIndex();
    int newCurrent = -1;
    bool removedAny = false;
    const QList<ListEntry>& entries = toc.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const ListEntry& e = entries[i];
        qint32 marker = 0;
        // Folder entries and entries without a file of their own stay.
        const bool isFile = linkedMarker(e.itemData, marker) && !FileMarker::isFolder(marker);
        if (isFile && (matchesAny(e.text.toLower(), patterns) ||
                       isProjectOutputName(PathPart(project_.LF().text(e.itemData), 0, style_)))) {
            removedAny = true;
            continue;
        }
        if (i == current)
            newCurrent = static_cast<int>(kept.size());
        kept.append(e);
    }
    if (!removedAny)
        return;
    tryStep([&] {
        ListBox::Batch update(toc);
        toc.setEntries(std::move(kept));
        toc.setListIndex(newCurrent);
    });
}

void NavigationPass::giveTitles() {
    const int n = project_.LB().count();
    for (int i = 0; i < n; ++i) {
        if (!project_.LB().isValidIndex(i))
            continue;
        tryStep([&] { titleEntry(i); });
        host_.doEvents();
    }
}

void NavigationPass::titleEntry(int i) {
    const qint32 link = project_.LB().itemData(i);
    qint32 marker = 0;
    // No file to take a title from: the entry stays as it is.
    if (!linkedMarker(link, marker))
        return;
    const QString title = titleOf(project_.LF().text(link), marker);
    // Reading a file may have shown a message box, and events ran behind it: write only
    // when position i still holds an entry linked to the same file.
    ListBox& toc = project_.LB();
    if (!toc.isValidIndex(i) || toc.itemData(i) != link)
        return;
    const QString text = toc.text(i);
    toc.setText(i, QString(lineDepth(text), QLatin1Char(' ')) + title);
}

QString NavigationPass::titleOf(const QString& path, qint32 marker) const {
    if (FileMarker::isFolder(marker))
        return PathPart(path, 0, style_);
    switch (settings_.titleMode) {
    case NavSettings::BetweenMarkers:
        if (isPageOrText(path))
            return TitleBetween(ReadTextFile(path, host_), path, settings_.startMarker, settings_.endMarker, style_);
        break;
    case NavSettings::BaseName:
        return PathPart(path, 1, style_);
    case NavSettings::FirstLine:
        if (isTextFile(path)) {
            const QString line = FirstNonBlankLine(path);
            if (!line.isEmpty())
                return line;
        }
        break;
    default:
        break;
    }
    return PathPart(path, 0, style_);
}

} // namespace folvane
