#pragma once

#include <QByteArray>
#include <QString>

namespace folvane {

// Project and contents files decoded as the help compiler decodes them: after a byte-order
// mark in its encoding, else as UTF-8 when the bytes are valid UTF-8, else in the system's
// ANSI code page (GBK on a Chinese system).
QString decodeProjectText(const QByteArray& bytes);

// Web pages and text files decoded as the help compiler decodes pages: a byte-order mark
// decides; then the charset a <meta> near the top declares, unless it says UTF-8 and the
// bytes are not; then as decodeProjectText.
QString decodePageText(const QByteArray& bytes);

} // namespace folvane
