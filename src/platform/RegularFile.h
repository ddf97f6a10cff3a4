#pragma once

#include <QByteArray>
#include <QString>

namespace folvane {

enum class RegularFileRead {
    Ok,
    NotAFile, // missing, not accessible, a folder, a device or a pipe
    TooBig,
    Failed, // opened, but reading went wrong (or the file grew past the limit meanwhile)
};

// Reads a regular file of at most maxBytes whole, with as few system calls as the
// platform allows: the title pass reads tens of thousands of pages this way.
RegularFileRead readRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes);

} // namespace folvane
