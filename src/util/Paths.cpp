#include "util/Paths.h"

#include <QFileInfo>

namespace folvane {

namespace {

bool isSeparator(QChar c, PathStyle style) {
    return c == QLatin1Char('/') || (style == PathStyle::Windows && c == QLatin1Char('\\'));
}

// Windows accepts "/" for "\": the helpers work on the "\" form.
QString normalised(const QString& path, PathStyle style) {
    if (style != PathStyle::Windows)
        return path;
    QString s = path;
    s.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return s;
}

// Length of the part of path that folder covers, without the separator that follows it;
// -1 when folder is not a whole leading folder of path.
qsizetype leadingFolderLength(const QString& anyPath, const QString& anyFolder, PathStyle style) {
    const QString path = normalised(anyPath, style);
    const QString folder = normalised(anyFolder, style);
    const Qt::CaseSensitivity cs = fileSystemCase(style);
    if (folder.isEmpty() || !path.startsWith(folder, cs)) {
        // "C:\p\" also covers "C:\p" itself.
        const bool sameWithoutSeparator =
            folder.size() > 1 && isSeparator(folder.back(), style) && path.compare(folder.chopped(1), cs) == 0;
        return sameWithoutSeparator ? path.size() : -1;
    }
    if (path.size() == folder.size())
        return path.size();
    if (isSeparator(folder.back(), style))
        return folder.size() - 1; // a root such as "C:\" or "/"
    return isSeparator(path.at(folder.size()), style) ? folder.size() : -1;
}

bool sameRoot(const QString& path, const QString& base, PathStyle style) {
    if (style == PathStyle::Windows)
        return path.left(3).compare(base.left(3), Qt::CaseInsensitive) == 0;
    // One root for every absolute path; relative paths share the working folder.
    return path.startsWith(QLatin1Char('/')) == base.startsWith(QLatin1Char('/'));
}

// Tries the folders of base from the deepest up; the first one that holds path wins.
QString relativeToFolders(const QString& path, const QString& base, PathStyle style) {
    const QChar sep = pathSeparator(style);
    const QString up = QStringLiteral("..") + sep;
    QString ups;
    qsizetype from = base.size() - 1;
    while (from >= 0) {
        const qsizetype k = base.lastIndexOf(sep, from);
        if (k < 0)
            break;
        if (path.startsWith(QStringView(base).left(k + 1)))
            return ups + path.mid(k + 1);
        ups += up;
        from = k - 1;
    }
    return path;
}

bool existingFolder(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isDir();
}

} // namespace

QString PathPart(const QString& path, int mode, PathStyle style) {
    QString s = normalised(path, style);
    const qsizetype query = s.indexOf(QLatin1Char('?'));
    if (query >= 0)
        s.truncate(query);
    if (mode == 2) {
        // The dot is searched in the whole path: callers rely on this long-standing form.
        const qsizetype lastDot = s.lastIndexOf(QLatin1Char('.'));
        return lastDot < 0 ? QString() : s.mid(lastDot + 1);
    }
    QString name = s.mid(s.lastIndexOf(pathSeparator(style)) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (mode == 1 && dot >= 0)
        name.truncate(dot);
    return name;
}

QString ParentFolder(const QString& path, PathStyle style) {
    const QChar sep = pathSeparator(style);
    QString s = normalised(path, style);
    if (s.endsWith(sep))
        s.chop(1);
    const qsizetype last = s.lastIndexOf(sep);
    if (last < 0)
        return {};
    if (style == PathStyle::Posix)
        return last == 0 ? QStringLiteral("/") : s.left(last);
    QString parent = s.left(last);
    if (path.contains(QLatin1Char('/')))
        parent.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return parent;
}

QString RelativePath(const QString& path, const QString& base, const QString& separator, PathStyle style,
                     const FolderTest& isFolder) {
    const QChar sep = pathSeparator(style);
    const QString p = normalised(path, style);
    if (base.isEmpty())
        return p;
    QString b = normalised(base, style);
    if (style == PathStyle::Windows && b.size() == 1 && b.front() == sep) {
        // "\" alone stands for the root of the path's own drive.
        const qsizetype first = p.indexOf(sep);
        b = first < 0 ? QString() : p.left(first + 1);
    }
    if (!b.isEmpty() && !b.endsWith(sep) && (isFolder ? isFolder(b) : existingFolder(b)))
        b += sep;
    QString result = sameRoot(p, b, style) ? relativeToFolders(p, b, style) : p;
    if (style == PathStyle::Windows && separator != QStringLiteral("\\"))
        result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return result;
}

bool isInFolder(const QString& path, const QString& folder, PathStyle style) {
    return leadingFolderLength(path, folder, style) >= 0;
}

QString stripLeadingFolder(const QString& path, const QString& folder, PathStyle style) {
    const qsizetype length = leadingFolderLength(path, folder, style);
    return length < 0 ? path : path.mid(length);
}

} // namespace folvane
