#pragma once

namespace folvane {

class ListBox;

// One pass of the move and indent command over the selected entries:
// 0 indent, 1 outdent, 2 up, 3 down. A block of selected entries moves as a block.
void movePass(ListBox& toc, int index);

} // namespace folvane
