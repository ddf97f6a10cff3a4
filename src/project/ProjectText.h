#pragma once

#include <QByteArray>
#include <QString>

namespace folvane {

// Project and contents files decoded as the help compiler decodes them: after a byte-order
// mark in its encoding, else as UTF-8 when the bytes are valid UTF-8, else in the system's
// ANSI code page (GBK on a Chinese system).
QString decodeProjectText(const QByteArray& bytes);

// The decoded text of a project or contents file. Throws RuntimeError naming the path when it
// is missing, too big to be one or cannot be read.
QString readProjectText(const QString& path);

} // namespace folvane
