#pragma once

#include <QByteArray>
#include <QString>

namespace folvane {

enum class FileWriteMode {
    // A new file beside the target takes its place by a rename, only after every byte was
    // written, flushed to the disk and the file closed without error: the previous file
    // stays byte for byte when anything fails. A link is followed to the file it names.
    Replace,
    // Into the file itself, from its start: devices and pipes, which cannot be renamed over.
    InPlace,
    Append,
};

enum class FileWriteError { None, PathNotFound, PermissionDenied, DiskFull, Other };

struct FileWriteResult {
    FileWriteError error = FileWriteError::None;
    QString reason; // the system's own words for the failure

    bool ok() const { return error == FileWriteError::None; }
};

// Writes bytes as the file's whole content (or after it, in Append mode), checking every
// write, the flush and the close.
FileWriteResult writeWholeFile(const QString& path, const QByteArray& bytes, FileWriteMode mode);

// Temporary files of our writers are named ".folvane-…" ("~folvane-…" on Windows) and end in
// ".tmp"; older versions put the target's name before "folvane-". A scan never takes one
// for a page.
bool isOwnTemporaryName(const QString& name);

} // namespace folvane
