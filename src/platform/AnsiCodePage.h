#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace folvane {

// A file name that is not UTF-8 (POSIX), read in the system's ANSI code page when every byte is valid
// there and the text gives the same bytes back; nothing otherwise. Sites unpacked from
// archives made on Windows keep their names this way.
std::optional<QString> decodeAnsiFileName(const QByteArray& bytes);
// Text in that code page; nothing when it cannot hold every character.
std::optional<QByteArray> encodeAnsiFileName(const QString& name);

// Text in a Windows code page (936, 950, 1251 ...); nothing where this system cannot convert it.
// Bytes the code page lacks become U+FFFD.
std::optional<QString> decodeCodePage(const QByteArray& bytes, quint32 codePage);

} // namespace folvane
