#pragma once

#include <QString>

namespace folvane {

// Where the last dialog left the user, so that the next one of either kind opens there.
// Owned by the application and handed to whoever shows a dialog; empty at start.
class DialogMemory {
public:
    // Folder of the last result: with a trailing separator after the file dialog, without one
    // after the folder browser; empty after a cancelled dialog.
    QString LastFolder;
    // Last path the file dialog returned; its folder is the start when LastFolder is empty.
    QString LastFile;
    // Folder the folder browser was last opened at.
    QString BrowseStartFolder;
};

} // namespace folvane
