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
    using Visitor = std::function<void(const QString& name, EntryKind kind)>;

    // Calls visit for every entry of folder except "." and "..", with the folder still open.
    // Folders include links to folders and entries whose kind cannot be read; only regular
    // files (or links to them) count as files, other special files are left out.
    // Returns false when the folder cannot be opened or was listed before.
    bool read(const QString& folder, const Visitor& visit);

private:
    // Device and inode (or volume serial and file index) of each folder listed.
    QSet<std::pair<quint64, quint64>> listed_;
};

} // namespace folvane
