#pragma once

class QTextStream;

namespace folvane {

// The navigation builder's title pass between markers over a large site, next to just
// reading the same files whole. Best of three runs each.
void benchTitlePass(QTextStream& out);

} // namespace folvane
