#pragma once

class QTextStream;

namespace folvane {

// The folder hierarchy over a site-sized file list and one move pass over a full TOC.
void benchTocEditing(QTextStream& out);

} // namespace folvane
