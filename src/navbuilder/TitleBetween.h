#pragma once

#include "util/PathStyle.h"

#include <QString>

namespace folvane {

// The text between the first start marker and the first end marker after it, searched
// without regard to case, with CR LF pairs removed and the spaces at both ends trimmed.
// Falls back to the file name of path when a marker is missing, nothing lies between
// them, or text holds a NUL (a binary file).
QString TitleBetween(const QString& text, const QString& path, const QString& start, const QString& end,
                     PathStyle style = nativePathStyle());

// s without the U+0020 spaces at its ends; tabs and other white space stay.
QString trimSpaces(const QString& s);

} // namespace folvane
