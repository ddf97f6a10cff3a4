#pragma once

class QTextStream;

namespace folvane {

// The folder hierarchy over a site-sized file list, the contents in reading order beside folder
// order on the site on disk, and one move pass over a full TOC.
void benchTocEditing(QTextStream& out);

} // namespace folvane
