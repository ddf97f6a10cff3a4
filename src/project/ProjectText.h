#pragma once

#include <QString>

namespace folvane {

// The text of a project or contents file, decoded by decodeProjectText. Throws RuntimeError
// naming the path when it is missing, too big to be one or cannot be read.
QString readProjectText(const QString& path);

} // namespace folvane
