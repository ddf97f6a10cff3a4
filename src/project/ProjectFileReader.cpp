#include "project/ProjectFileReader.h"

#include "formats/WindowFields.h"

#include <QRegularExpression>

namespace folvane {

namespace {

enum class Section { Other, Options, Windows, Files };

struct Window {
    QString name;
    QString fields;
};

std::optional<bool> navigationClosed(const QList<Window>& windows, const QString& defaultWindow) {
    const Window* chosen = windows.isEmpty() ? nullptr : &windows.front();
    for (const Window& w : windows) {
        if (w.name.compare(defaultWindow, Qt::CaseInsensitive) == 0)
            chosen = &w;
    }
    if (chosen == nullptr)
        return std::nullopt;
    const std::string field = formats::windowField(formats::splitWindowFields(chosen->fields.toStdString()),
                                                   formats::WindowField::NavigationClosed);
    bool isNumber = false;
    const int value = QString::fromStdString(field).toInt(&isNumber);
    return isNumber ? std::optional<bool>(value != 0) : std::nullopt;
}

QString unquoted(const QString& value) {
    const QString v = value.trimmed();
    if (v.size() >= 2 && v.startsWith(u'"') && v.endsWith(u'"'))
        return v.mid(1, v.size() - 2);
    return v;
}

} // namespace

ProjectFileContent readProjectFile(const QString& text) {
    ProjectFileContent project;
    QList<Window> windows;
    QString defaultWindow;
    Section section = Section::Other;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    for (const QString& line : text.split(lineBreak)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';'))
            continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            const QString name = trimmed.mid(1, trimmed.size() - 2).trimmed().toUpper();
            section = name == u"OPTIONS"   ? Section::Options
                      : name == u"WINDOWS" ? Section::Windows
                      : name == u"FILES"   ? Section::Files
                                           : Section::Other;
            project.isProject = project.isProject || section == Section::Options || section == Section::Files;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1);
        if (section == Section::Files) {
            // A name may start with blanks; none ends with them.
            qsizetype end = line.size();
            while (end > 0 && line[end - 1].isSpace())
                --end;
            project.files.append(line.left(end));
        } else if (section == Section::Windows && equals > 0) {
            windows.append({key, value});
        } else if (section == Section::Options && equals > 0) {
            if (key == u"compiled file")
                project.outputFile = unquoted(value);
            else if (key == u"contents file")
                project.contentsFile = unquoted(value);
            else if (key == u"default topic")
                project.homePage = value;
            else if (key == u"title")
                project.title = value;
            else if (key == u"default window")
                defaultWindow = value.trimmed();
        }
    }
    project.navigationClosed = navigationClosed(windows, defaultWindow);
    return project;
}

} // namespace folvane
