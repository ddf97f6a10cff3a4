#pragma once

class QMessageBox;

namespace folvane {

// Makes a message box wide enough for its whole title beside the window manager's icon and
// buttons: Qt leaves only 50 pixels for them, so a box with a short text cut its title.
// Call it last, just before showing the box.
void widenForTitle(QMessageBox& box);

} // namespace folvane
