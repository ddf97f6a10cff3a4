#pragma once

#include <QString>

namespace folvane {

// The first line of a text file that is not empty once the spaces at its ends are
// removed, trimmed that way. Lines end at CR (a CR LF pair is one break); a lone LF is
// part of the line. Empty when there is no such line or the file cannot be read. The
// file is read only as far as needed, so its size does not matter.
QString FirstNonBlankLine(const QString& path);

} // namespace folvane
