#include "project/ProjectOpening.h"

#include "project/ContentsFileReader.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectText.h"
#include "toc/FileMarker.h"
#include "util/PathJoin.h"
#include "util/Paths.h"
#include "util/RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QUrl>

namespace folvane {

namespace {

constexpr int kListedLeftOut = 20;

class PathResolver {
public:
    PathResolver(QString folder, PathStyle style) : folder_(std::move(folder)), style_(style) {}

    // The full path of a file the project names. Absolute paths stay as written, so that the
    // project is saved again as it was read.
    QString full(const QString& written) const {
        if (QDir::isAbsolutePath(written))
            return written;
        QString relative = written;
        // Projects made on Windows name their files with "\".
        if (style_ == PathStyle::Posix && !QFileInfo::exists(joinPath(folder_, relative, style_)))
            relative.replace(u'\\', u'/');
        return QDir::toNativeSeparators(QDir::cleanPath(joinPath(folder_, relative, style_)));
    }

    // The same file gives the same key however it is written.
    QString key(const QString& path) const {
        QString p = path;
        if (style_ == PathStyle::Windows)
            p.replace(u'\\', u'/');
        p = QDir::cleanPath(p);
        return style_ == PathStyle::Windows ? p.toLower() : p;
    }

    const QString& folder() const { return folder_; }
    PathStyle style() const { return style_; }

private:
    QString folder_;
    PathStyle style_;
};

// Targets that are web addresses or places in other help files are not files of the project.
bool isAddress(const QString& local) {
    const qsizetype colon = local.indexOf(u':');
    return colon > 1 && !QDir::isAbsolutePath(local);
}

class ProjectAssembly {
public:
    ProjectAssembly(OpenedProject& project, const PathResolver& paths) : project_(project), paths_(paths) {}

    void addFiles(const QStringList& written) {
        for (const QString& w : written) {
            const QString path = paths_.full(w);
            const QFileInfo info(path);
            // Only what is gone is left out. A folder there is a folder entry of the file list
            // whose marker a merge reset: it keeps its text, relative as such entries are, so
            // that it is saved again as it was.
            if (info.isDir())
                addFile(w, path);
            else if (info.exists())
                addFile(path, path);
            else
                leaveOut(path);
        }
    }

    void addContents(const QList<ContentsItem>& items) {
        for (const ContentsItem& item : items)
            project_.toc.append({item.text, item.hasLocal ? link(item) : kNoLink, false});
    }

    void leaveOut(const QString& path) {
        if (!leftOutKeys_.contains(paths_.key(path))) {
            leftOutKeys_.insert(paths_.key(path));
            project_.leftOut.append(path);
        }
    }

private:
    int addFile(const QString& text, const QString& path) {
        const int index = static_cast<int>(project_.fileList.size());
        project_.fileList.append({text, FileMarker::kFile, false});
        if (!indexes_.contains(paths_.key(path)))
            indexes_.insert(paths_.key(path), index);
        return index;
    }

    qint32 link(const ContentsItem& item) {
        const QString file = item.local.section(u'#', 0, 0);
        if (file.isEmpty() || isAddress(file))
            return kNoLink;
        // "#", "&", ";" and "%" are legal in file names: the target names a file as written
        // first, and only then a place in one.
        for (const QString& candidate :
             {item.local, item.localAsWritten, file, item.localAsWritten.section(u'#', 0, 0), percentDecoded(file)}) {
            if (candidate.isEmpty())
                continue;
            const QString path = paths_.full(candidate);
            const auto known = indexes_.constFind(paths_.key(path));
            if (known != indexes_.constEnd())
                return *known;
            if (QFileInfo(path).isFile() && isInFolder(path, paths_.folder(), paths_.style()) &&
                !leftOutKeys_.contains(paths_.key(path)))
                return addFile(path, path);
        }
        leaveOut(paths_.full(file));
        return kNoLink;
    }

    static QString percentDecoded(const QString& target) {
        return target.contains(u'%') ? QUrl::fromPercentEncoding(target.toUtf8()) : QString();
    }

    OpenedProject& project_;
    const PathResolver& paths_;
    QHash<QString, int> indexes_; // the first entry of each file
    QSet<QString> leftOutKeys_;
};

void checkRoom(qsizetype entries) {
    if (entries > kListCapacity)
        throw RuntimeError(RuntimeError::ListFull, QStringLiteral("列表已满：最多只能容纳 %1 项。").arg(kListCapacity));
}

} // namespace

OpenedProject openProjectFile(const QString& projectFile, PathStyle style) {
    const ProjectFileContent content = readProjectFile(readProjectText(projectFile));
    // Opening something else would empty the window and let the next save overwrite it.
    if (!content.isProject)
        throw RuntimeError(RuntimeError::InvalidArgument,
                           QStringLiteral("不是 HTML Help 项目文件（没有 [OPTIONS] 或 [FILES] 节）：") + projectFile);
    OpenedProject project;
    project.folder = ParentFolder(projectFile, style);
    const PathResolver paths(project.folder, style);
    ProjectAssembly assembly(project, paths);
    assembly.addFiles(content.files);
    if (!content.contentsFile.isEmpty()) {
        const QString contents = paths.full(content.contentsFile);
        if (QFileInfo::exists(contents))
            assembly.addContents(readContentsFile(readProjectText(contents)));
        else
            assembly.leaveOut(contents);
    }
    checkRoom(project.fileList.size());
    checkRoom(project.toc.size());

    ProjectSettings& s = project.settings;
    s.outputFile = content.outputFile.isEmpty() ? QString() : paths.full(content.outputFile);
    s.title = content.title;
    s.homePage = content.homePage;
    s.navigationClosed = content.navigationClosed.value_or(ProjectSettings().navigationClosed);
    return project;
}

QString leftOutMessage(const QStringList& leftOut) {
    return pathListMessage(QStringLiteral("以下文件已不存在或不在项目文件夹中，已略去（目录中的项保留，不再链接）："),
                           leftOut);
}

QString pathListMessage(const QString& intro, const QStringList& leftOut) {
    QString text = intro;
    for (qsizetype i = 0; i < leftOut.size() && i < kListedLeftOut; ++i)
        text += QStringLiteral("\r\n") + leftOut[i];
    if (leftOut.size() > kListedLeftOut)
        text += QStringLiteral("\r\n……共 %1 个文件").arg(leftOut.size());
    return text;
}

} // namespace folvane
