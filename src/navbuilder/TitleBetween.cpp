#include "navbuilder/TitleBetween.h"

#include "util/Paths.h"

#include <QStringView>

namespace folvane {

QString trimSpaces(const QString& s) {
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && s[first] == QLatin1Char(' '))
        ++first;
    while (last > first && s[last - 1] == QLatin1Char(' '))
        --last;
    return s.mid(first, last - first);
}

QString TitleBetween(const QString& text, const QString& path, const QString& start, const QString& end,
                     PathStyle style) {
    const QStringView view(text);
    if (view.contains(QChar(u'\0')))
        return PathPart(path, 0, style);
    const qsizetype a = view.indexOf(start, 0, Qt::CaseInsensitive);
    if (a < 0)
        return PathPart(path, 0, style);
    // The end marker is looked for after the whole start marker: one that overlaps the
    // start marker ("==" and "=") must not hide the text that follows.
    const qsizetype from = a + start.size();
    const qsizetype b = view.indexOf(end, from, Qt::CaseInsensitive);
    if (b <= from)
        return PathPart(path, 0, style);
    QString t = view.sliced(from, b - from).toString();
    t.remove(QStringLiteral("\r\n"));
    t = trimSpaces(t);
    return t.isEmpty() ? PathPart(path, 0, style) : t;
}

} // namespace folvane
