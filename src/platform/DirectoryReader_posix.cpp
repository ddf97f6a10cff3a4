#include "platform/AnsiCodePage.h"
#include "platform/DirectoryReader.h"
#include "platform/FileName.h"
#include "platform/NtfsSortKey.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
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
// A name that cannot be examined counts as a folder; opening it then fails with a reason. A
// link to nothing is left out.
std::optional<DirectoryReader::EntryKind> entryKind(int dirFd, const dirent* entry, bool& brokenLink) {
    using Kind = DirectoryReader::EntryKind;
    brokenLink = false;
    switch (entry->d_type) {
    case DT_DIR:
        return Kind::Folder;
    case DT_REG:
        return Kind::File;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st {};
        if (fstatat(dirFd, entry->d_name, &st, 0) != 0) {
            brokenLink = errno == ENOENT || errno == ELOOP;
            return brokenLink ? std::nullopt : std::optional<Kind>(Kind::Folder);
        }
        if (S_ISDIR(st.st_mode))
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

// A name that is no text, shown with the bytes that are no UTF-8 as \xHH.
QString shownName(const QByteArray& bytes) {
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const QString c = QString::fromUtf8(bytes.mid(i, length));
        if (lead >= 0x80 && (c.size() == 0 || c.contains(QChar::ReplacementCharacter) || i + length > bytes.size())) {
            shown += QStringLiteral("\\x%1").arg(lead, 2, 16, QLatin1Char('0'));
            ++i;
        } else {
            shown += c;
            i += length;
        }
    }
    return shown;
}

std::optional<QString> utf8Name(const QByteArray& bytes) {
    const QString name = QFile::decodeName(bytes);
    // A name that is not valid in the file-name encoding would come back as another, missing name.
    if (name.contains(QChar::ReplacementCharacter) && QFile::encodeName(name) != bytes)
        return std::nullopt;
    return name;
}
} // namespace

bool DirectoryReader::read(const QString& folder, const Visitor& visit, const LeftOutVisitor& leftOut) {
    failure_.clear();
    const QByteArray path = fileSystemPath(folder);
    const std::unique_ptr<DIR, DirCloser> dir(opendir(path.constData()));
    if (!dir) {
        // A folder gone since it was found leaves nothing out.
        if (errno != ENOENT)
            failure_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const int fd = dirfd(dir.get());
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        failure_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const std::pair<quint64, quint64> id{static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
    if (listed_.contains(id))
        return false;
    listed_.insert(id);
    const auto reportLeftOut = [&leftOut](const QString& name, LeftOut why) {
        if (leftOut)
            leftOut(name, why);
    };

    // The file system's own order is a hash order on most Linux file systems; the same
    // site must list as it does on Windows.
    std::vector<Entry> entries;
    std::vector<std::pair<QByteArray, EntryKind>> notUtf8;
    QSet<QString> names;
    while (const dirent* entry = readdir(dir.get())) {
        if (isDotOrDotDot(entry->d_name))
            continue;
        const QByteArray bytes(entry->d_name);
        bool brokenLink = false;
        const std::optional<EntryKind> kind = entryKind(fd, entry, brokenLink);
        const std::optional<QString> name = utf8Name(bytes);
        if (!kind) {
            reportLeftOut(name.value_or(shownName(bytes)), brokenLink ? LeftOut::BrokenLink : LeftOut::NotAFile);
        } else if (path.size() + 1 + bytes.size() >= PATH_MAX) {
            reportLeftOut(name.value_or(shownName(bytes)), LeftOut::PathTooLong);
        } else if (!name) {
            notUtf8.emplace_back(bytes, *kind);
        } else {
            names.insert(*name);
            entries.push_back(Entry{NtfsSortKey(*name), *kind});
        }
    }
    for (const auto& [bytes, kind] : notUtf8) {
        const std::optional<QString> name = decodeAnsiFileName(bytes);
        if (name && !names.contains(*name)) {
            names.insert(*name);
            entries.push_back(Entry{NtfsSortKey(*name), kind});
        } else {
            reportLeftOut(shownName(bytes), LeftOut::NameNotText);
        }
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (const Entry& e : entries)
        visit(e.key.name(), e.kind);
    return true;
}

} // namespace folvane
