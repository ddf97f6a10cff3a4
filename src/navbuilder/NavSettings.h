#pragma once

#include <QString>

namespace folvane {

// What the navigation pass needs to know; the builder window's controls fill it.
struct NavSettings {
    enum TitleMode {
        BetweenMarkers = 0, // text between startMarker and endMarker (pages and .txt files)
        FullName = 1,       // file name with extension
        BaseName = 2,       // file name without extension
        FirstLine = 3,      // first non-blank line (.txt files)
    };
    // How the contents are built: from the folders, or in the order the home page's links give.
    enum class Order { Folders, Links };

    static constexpr int kMinDepthLimit = 1;
    static constexpr int kMaxDepthLimit = 20;

    bool applyFolderHierarchy = true;
    bool excludeTypes = true;
    QString excludedTypes = QStringLiteral("jpg;gif;png;bmp;css;js;vbs");
    int titleMode = BaseName;
    QString startMarker = QStringLiteral("<title>");
    QString endMarker = QStringLiteral("</title>");
    Order order = Order::Folders;
    // In link order, pages deeper than this stay at this depth, below their last ancestor above it.
    int depthLimit = 4;
    // The compile settings' home page as written there; the link walk starts from it.
    QString homePage;
};

} // namespace folvane
