#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>
#include <string>

namespace folvane {

class Host;

// Files larger than this are not read.
inline constexpr qint64 kMaxReadBytes = 500000;

// The whole file decoded as the help compiler decodes pages (decodePageText), so that titles
// read as the compiled help shows them; control characters and NUL bytes kept. A missing,
// unreadable or too big file is reported to the user and gives the empty string; so does a
// file that cannot be opened or read after that check, without a message.
QString ReadTextFile(const QString& path, Host& host);

// The same text without any message: nothing for a file that is missing, unreadable or
// larger than maxBytes.
std::optional<QString> ReadTextFileQuietly(const QString& path, qint64 maxBytes = kMaxReadBytes);

// Writes text in the system code page, without byte-order mark or added line break; on
// Windows text that the ANSI code page cannot hold is written in UTF-8, which the help
// compiler reads first. Through writeWholeFile: every write, the flush to the disk and the
// close are checked before the new file replaces the previous one, which stays whole when
// anything fails. Throws RuntimeError with a description naming the path on every failure,
// also when text holds a lone surrogate (nothing is written then).
void WriteTextFile(const QString& path, const QString& text, bool append = false);

// The text in UTF-8, for a file made without Qt. Throws RuntimeError, as WriteTextFile does,
// when it holds a lone surrogate.
std::string utf8ForFile(const QString& text);

} // namespace folvane
