#include "platform/DirectoryReader.h"

#include "platform/WinFileSystemCalls_win.h"

namespace folvane {

bool DirectoryReader::read(const QString& folder, const Visitor& visit, const LeftOutVisitor& /*leftOut*/) {
    failure_.clear();
    WinFileSystemCalls::FolderId id;
    if (!WinFileSystemCalls::folderId(folder.toStdWString(), id)) {
        failure_ = QStringLiteral("无法打开");
        return false;
    }
    const std::pair<quint64, quint64> key{id.first, id.second};
    if (listed_.contains(key))
        return false;
    listed_.insert(key);
    const bool listed =
        WinFileSystemCalls::listFolder(folder.toStdWString(), [&](const std::wstring& name, bool isFolder) {
            visit(QString::fromStdWString(name), isFolder ? EntryKind::Folder : EntryKind::File);
        });
    if (!listed)
        failure_ = QStringLiteral("无法读取");
    return listed;
}

} // namespace folvane
