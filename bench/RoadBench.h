#pragma once

class QTextStream;

namespace folvane {

// The whole road without compiling, as folvane-make walks it (scan, folder hierarchy, titles
// between markers, save) over the shared 31000-page site, next to find plus reading every
// page in the same run; best of three. The peak memory is the child process's own.
void benchWholeRoad(QTextStream& out);

} // namespace folvane
