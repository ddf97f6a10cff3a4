#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace folvane {

// Text in the system's ANSI code page, as the help compiler beside the program reads project
// files that are not UTF-8: on Windows the code page of programs without Unicode; elsewhere
// the one Windows gives the language of the locale (LC_ALL, LC_CTYPE or LANG, the first one
// set), windows-1252 when it names none.
QString decodeAnsiCodePage(const QByteArray& bytes);

// A file name that is not UTF-8 (POSIX), read in that code page when every byte is valid
// there and the text gives the same bytes back; nothing otherwise. Sites unpacked from
// archives made on Windows keep their names this way.
std::optional<QString> decodeAnsiFileName(const QByteArray& bytes);
// Text in that code page; nothing when it cannot hold every character.
std::optional<QByteArray> encodeAnsiFileName(const QString& name);

// Text in a Windows code page (936, 950, 1251 ...); nothing where this system cannot convert it.
// Bytes the code page lacks become U+FFFD.
std::optional<QString> decodeCodePage(const QByteArray& bytes, quint32 codePage);

} // namespace folvane
