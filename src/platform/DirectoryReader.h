#pragma once

#include <QSet>
#include <QString>

#include <functional>
#include <utility>

namespace folvane {

// Lists folders one at a time for a scan, each folder's entries in the order NTFS keeps
// them (on Windows the file system's own order, on Posix sorted by NtfsSortKey), so a
// site lists alike on both. It remembers every folder it has listed, so a folder reached a second time
// (through a link or junction loop) yields nothing.
class DirectoryReader {
public:
    enum class EntryKind { File, Folder };
    // Why an entry is left out.
    enum class LeftOut {
        NameNotText, // its name is no valid text, in UTF-8 or the ANSI code page
        NotAFile,    // a pipe, a socket or a device
        BrokenLink,  // a link to nothing
        PathTooLong, // longer than the system opens
    };
    using Visitor = std::function<void(const QString& name, EntryKind kind)>;
    // The name as far as it can be shown: bytes that are no text as \xHH.
    using LeftOutVisitor = std::function<void(const QString& name, LeftOut why)>;

    // Calls visit for every entry of folder except "." and "..", with the folder still open.
    // Folders include links to folders and entries whose kind cannot be read; only regular
    // files (or links to them) count as files. A name that is not UTF-8 is read in the ANSI
    // code page (decodeAnsiFileName) unless another name of the folder reads the same.
    // Returns false when the folder cannot be opened (failure() says why; nothing for a folder
    // that is gone) or was listed before.
    bool read(const QString& folder, const Visitor& visit, const LeftOutVisitor& leftOut = {});
    // The system's words for the last folder that could not be opened; empty when it was
    // listed before.
    const QString& failure() const { return failure_; }

private:
    QString failure_;
    // Device and inode (or volume serial and file index) of each folder listed.
    QSet<std::pair<quint64, quint64>> listed_;
};

} // namespace folvane
