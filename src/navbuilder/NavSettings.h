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

    bool applyFolderHierarchy = true;
    bool excludeTypes = true;
    QString excludedTypes = QStringLiteral("jpg;gif;png;bmp;css;js;vbs");
    int titleMode = BaseName;
    QString startMarker = QStringLiteral("<title>");
    QString endMarker = QStringLiteral("</title>");
};

} // namespace folvane
