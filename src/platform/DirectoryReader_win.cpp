#include "platform/DirectoryReader.h"

#include <windows.h>

#include <memory>

namespace folvane {

namespace {
struct FindCloser {
    void operator()(HANDLE h) const { FindClose(h); }
};
struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};

std::wstring wide(const QString& s) {
    return s.toStdWString();
}

// The identity of a folder: volume serial and file index, the same through every junction.
bool folderId(const QString& folder, std::pair<quint64, quint64>& id) {
    const HANDLE raw =
        CreateFileW(wide(folder).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (raw == INVALID_HANDLE_VALUE)
        return false;
    const std::unique_ptr<void, HandleCloser> handle(raw);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(raw, &info))
        return false;
    id = {info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return true;
}

bool isDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}
} // namespace

bool DirectoryReader::read(const QString& folder, const Visitor& visit) {
    std::pair<quint64, quint64> id;
    if (!folderId(folder, id) || listed_.contains(id))
        return false;
    listed_.insert(id);

    QString pattern = folder;
    if (!pattern.endsWith(u'\\') && !pattern.endsWith(u'/'))
        pattern += u'\\';
    pattern += u'*';
    WIN32_FIND_DATAW data{};
    const HANDLE raw = FindFirstFileExW(wide(pattern).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                        FIND_FIRST_EX_LARGE_FETCH);
    if (raw == INVALID_HANDLE_VALUE)
        return false;
    const std::unique_ptr<void, FindCloser> find(raw);
    do {
        if (isDotOrDotDot(data.cFileName))
            continue;
        // Hidden and system entries are listed like any other; a junction carries the
        // directory attribute and is entered like a folder.
        const EntryKind kind = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
        visit(QString::fromWCharArray(data.cFileName), kind);
    } while (FindNextFileW(raw, &data));
    return true;
}

} // namespace folvane
