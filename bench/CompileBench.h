#pragma once

class QTextStream;

namespace folvane {

// The compile step over two sites, a realistic one of 3000 varied pages with pictures and
// the shared 31000-page site: the project saved as folvane-make saves it, then our hhc
// (median of three runs) next to reading every file of the project once and, when it is
// installed, chmcmd compiling the same project in the same run. Wall time, the child's peak
// memory and the help file's size; both outputs are checked to open.
void benchCompile(QTextStream& out);

} // namespace folvane
