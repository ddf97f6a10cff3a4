#pragma once

#include <QString>
#include <QtGlobal>

namespace folvane {

class Host;

// Files larger than this are not read.
inline constexpr qint64 kMaxReadBytes = 500000;

// The whole file decoded as the help compiler decodes pages (decodePageText), so that titles
// read as the compiled help shows them; control characters and NUL bytes kept. A missing,
// unreadable or too big file is reported to the user and gives the empty string; so does a
// file that cannot be opened or read after that check, without a message.
QString ReadTextFile(const QString& path, Host& host);

// Writes text in the system code page, without byte-order mark or added line break; on
// Windows text that the ANSI code page cannot hold is written in UTF-8, which the help
// compiler reads first. Replacing is atomic: a failed write leaves the previous file whole.
// Throws RuntimeError with a description naming the path on every failure, also when text
// holds a lone surrogate (nothing is written then).
void WriteTextFile(const QString& path, const QString& text, bool append = false);

} // namespace folvane
