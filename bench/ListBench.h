#pragma once

class QTextStream;

namespace folvane {

// Figures for the largest lists: merging a batch into the file list, saving the project
// files, deleting the selected TOC entries. Best of three runs each.
void benchFileList(QTextStream& out);

} // namespace folvane
