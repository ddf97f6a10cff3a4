#pragma once

#include <QtGlobal>

namespace folvane {

// What a file-list entry's ItemData says: below 1 a file (0 as added, -(depth + 1) when the
// folder hierarchy marked it shallower than the file before it), 1 or more a folder entry
// that many levels below the project folder.
struct FileMarker {
    static constexpr qint32 kFile = 0;
    static constexpr bool isFolder(qint32 marker) { return marker >= 1; }
    static constexpr qint32 folder(qsizetype depth) { return static_cast<qint32>(depth); }
    static constexpr qint32 markedFile(qsizetype depth) { return -static_cast<qint32>(depth + 1); }
};

// A contents entry's ItemData when it links to no file-list entry.
inline constexpr qint32 kNoLink = -1;

} // namespace folvane
