#pragma once

#include "files/WildcardPattern.h"
#include "navbuilder/NavSettings.h"
#include "util/PathStyle.h"

#include <QString>

#include <optional>
#include <vector>

namespace folvane {

class Host;
class Project;
struct ListEntry;

// One run of the navigation builder over the project's contents in use: first optionally the
// folder hierarchy, or the reading order of the home page's links; then dropping excluded
// file types and the project's own output, then a title for every entry.
// Pending events run after each title, so every list access re-reads the lists and
// checks its bounds: a command handled in between may have changed them. A step that
// fails is skipped and the pass goes on.
class NavigationPass {
public:
    NavigationPass(Project& project, Host& host, NavSettings settings);

    void run();

private:
    void applyFolderHierarchy();
    void buildReadingOrder();
    bool isReadingOrderPage(const ListEntry& file) const;
    void excludeEntries();
    void giveTitles();
    void titleEntry(int i);
    // The file-list marker an entry links to; nothing for a link that is -1 or past the end.
    bool linkedMarker(qint32 link, qint32& marker) const;
    QString titleOf(const QString& path, qint32 marker) const;

    Project& project_;
    Host& host_;
    NavSettings settings_;
    PathStyle style_;
    std::vector<std::optional<WildcardPattern>> excluded_;
};

} // namespace folvane
