#include "project/OutputFileCheck.h"

#include "document/ProjectFileNames.h"
#include "util/PathJoin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace folvane {

namespace {
bool isAbsolute(const QString& path, PathStyle style) {
    if (style == PathStyle::Posix)
        return path.startsWith(u'/');
    return path.startsWith(u'\\') || path.startsWith(u'/') || (path.size() > 1 && path[1] == u':');
}

bool samePath(const QString& a, const QString& b, PathStyle style) {
    return QDir::cleanPath(QDir::fromNativeSeparators(a))
               .compare(QDir::cleanPath(QDir::fromNativeSeparators(b)), fileSystemCase(style)) == 0;
}
} // namespace

OutputTarget examineOutput(const QString& output, const QString& projectFolder, PathStyle style) {
    const QString full = isAbsolute(output, style) ? output : joinPath(projectFolder, output, style);
    for (const QString& own : {projectFileName(), contentsFileName()})
        if (samePath(full, joinPath(projectFolder, own, style), style))
            return OutputTarget::ProjectFile;
    const QFileInfo existing(full);
    if (!existing.isFile() || existing.size() == 0)
        return OutputTarget::Free;
    QFile file(full);
    if (file.open(QIODevice::ReadOnly) && file.read(4) != "ITSF")
        return OutputTarget::NotHelpFile;
    const QFile::Permissions writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return (existing.permissions() & writable) == 0 ? OutputTarget::ReadOnly : OutputTarget::Free;
}

QString fileNameFromTitle(const QString& title, PathStyle style) {
    const QString forbidden = style == PathStyle::Windows ? QStringLiteral("\\/:*?\"<>|") : QStringLiteral("/");
    QString name = title;
    name.replace(QStringLiteral(".."), QStringLiteral("_"));
    for (QChar& c : name)
        if (forbidden.contains(c) || (style == PathStyle::Windows && c.unicode() < 0x20))
            c = u'_';
    return name;
}

} // namespace folvane
