#pragma once

#include <QByteArray>
#include <QString>

#include <filesystem>

class QFile;

namespace folvane {

// The bytes of a path on the file system. On POSIX a name is UTF-8, or, for a name the folder
// scan read in the ANSI code page (decodeAnsiFileName), those bytes: each step of the path
// takes the first spelling that exists.
QByteArray fileSystemPath(const QString& path);
// The same as the system's calls take it: those bytes on POSIX, UTF-16 on Windows.
std::filesystem::path nativePath(const QString& path);

// Opens path for reading, by its file-system bytes.
bool openForReading(QFile& file, const QString& path);

} // namespace folvane
