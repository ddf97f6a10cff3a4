#pragma once

class QTextStream;

namespace folvane {

// The contents list in the real main window (offscreen): a full list selected with Ctrl+A,
// then one indent pass (Tab) and one move pass (the move-down button).
void benchListView(QTextStream& out);

} // namespace folvane
