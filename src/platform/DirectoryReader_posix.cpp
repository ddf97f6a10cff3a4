#include "platform/DirectoryReader.h"
#include "platform/NtfsSortKey.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace folvane {

namespace {
struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Links and file systems that do not report the type need a stat, which follows links.
// A name that cannot be examined counts as a folder; opening it then fails quietly.
std::optional<DirectoryReader::EntryKind> entryKind(int dirFd, const dirent* entry) {
    using Kind = DirectoryReader::EntryKind;
    switch (entry->d_type) {
    case DT_DIR:
        return Kind::Folder;
    case DT_REG:
        return Kind::File;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st {};
        if (fstatat(dirFd, entry->d_name, &st, 0) != 0 || S_ISDIR(st.st_mode))
            return Kind::Folder;
        if (S_ISREG(st.st_mode))
            return Kind::File;
        return std::nullopt;
    }
    default:
        // Pipes, sockets and devices: reading one for a title could block forever.
        return std::nullopt;
    }
}

struct Entry {
    NtfsSortKey key;
    DirectoryReader::EntryKind kind;
};
} // namespace

bool DirectoryReader::read(const QString& folder, const Visitor& visit) {
    const QByteArray path = QFile::encodeName(folder);
    const std::unique_ptr<DIR, DirCloser> dir(opendir(path.constData()));
    if (!dir)
        return false;
    const int fd = dirfd(dir.get());
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return false;
    const std::pair<quint64, quint64> id{static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
    if (listed_.contains(id))
        return false;
    listed_.insert(id);

    // The file system's own order is a hash order on most Linux file systems; the same
    // site must list as it does on Windows.
    std::vector<Entry> entries;
    while (const dirent* entry = readdir(dir.get())) {
        if (isDotOrDotDot(entry->d_name))
            continue;
        const std::optional<EntryKind> kind = entryKind(fd, entry);
        if (!kind)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        // A name that is not valid in the file-name encoding would come back as another,
        // missing name.
        if (name.contains(QChar::ReplacementCharacter) &&
            QFile::encodeName(name) !=
                QByteArrayView(entry->d_name, static_cast<qsizetype>(std::strlen(entry->d_name))))
            continue;
        entries.push_back(Entry{NtfsSortKey(name), *kind});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (const Entry& e : entries)
        visit(e.key.name(), e.kind);
    return true;
}

} // namespace folvane
