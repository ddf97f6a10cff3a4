#pragma once

class QTextStream;

namespace folvane {

// The help compiler's LZX compression over about 50 MB of generated help pages (varied
// words, markup, tables, code and Chinese text), on every core and on one; best of three.
void benchLzx(QTextStream& out);

} // namespace folvane
