#include "files/Dialogs.h"

#include "files/DialogMemory.h"
#include "host/Host.h"
#include "util/PathJoin.h"
#include "util/RuntimeError.h"

#include <QDir>
#include <QStringList>

namespace folvane {

namespace {

QString folderOf(const QString& path, QChar separator) {
    const qsizetype last = path.lastIndexOf(separator);
    return last < 0 ? QString() : path.left(last + 1);
}

QStringList askForFiles(Host& host, const DialogMemory& memory, int mode, const QString& filter, const QString& title,
                        const QString& defaultExtension, PathStyle style) {
    const QChar separator = pathSeparator(style);
    switch (mode) {
    case FileDialogMode::Open:
        return host.openFiles(memory.LastFolder, filter, title);
    case FileDialogMode::Save: {
        // It opens in the last folder and proposes the name of the last file (the compile
        // settings put the current output file there).
        const QString name = memory.LastFile.section(separator, -1);
        const QString start = name.isEmpty() || memory.LastFolder.isEmpty() ? memory.LastFolder
                                                                            : joinPath(memory.LastFolder, name, style);
        const QString path = host.saveFile(start, filter, title, defaultExtension);
        return path.isEmpty() ? QStringList() : QStringList{path};
    }
    default:
        return {};
    }
}

} // namespace

QStringList ShowFileDialog(Host& host, DialogMemory& memory, int mode, const QString& filter, const QString& title,
                           const QString& defaultExtension, PathStyle style) {
    const QChar separator = pathSeparator(style);
    const QString usedFilter = filter == kDefaultFilterName ? QStringLiteral("所有文件|*.*") : filter;
    if (memory.LastFolder.isEmpty())
        memory.LastFolder = folderOf(memory.LastFile, separator);

    QStringList paths;
    try {
        paths = askForFiles(host, memory, mode, usedFilter, title, defaultExtension, style);
    } catch (const RuntimeError&) {
        return {};
    }
    // Only full paths count as a choice.
    paths.removeIf([separator](const QString& p) { return !p.contains(separator); });
    if (paths.isEmpty()) {
        memory.LastFolder.clear();
        memory.LastFile.clear();
        return {};
    }
    memory.LastFolder = folderOf(paths.constFirst(), separator);
    memory.LastFile = paths.constLast();
    return paths;
}

QString BrowseForFolder(Host& host, DialogMemory& memory, QString& initialFolder, const QString& title,
                        bool includeFiles, PathStyle style) {
    QString start = initialFolder;
    if (start.isEmpty())
        start = memory.LastFolder;
    if (start.isEmpty())
        start = QDir::toNativeSeparators(QDir::currentPath());
    memory.BrowseStartFolder = start;

    QString path = host.browseForFolder(start, title, includeFiles);
    // "C:\" becomes "C:"; "/" must stay, or the root would read as a cancel.
    if (path.endsWith(pathSeparator(style)) && !(style == PathStyle::Posix && path.size() == 1))
        path.chop(1);
    initialFolder = path;
    memory.LastFolder = path;
    return path;
}

} // namespace folvane
