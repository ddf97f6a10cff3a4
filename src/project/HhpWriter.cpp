#include "project/HhpWriter.h"

#include "document/ProjectFileNames.h"
#include "formats/WindowFields.h"
#include "host/ProjectInfo.h"
#include "toc/FileMarker.h"
#include "toc/ListBox.h"

namespace folvane {

namespace {
const QString crlf = QStringLiteral("\r\n");
const QChar quote = u'"';

QString quoted(const QString& s) {
    return quote + s + quote;
}

QString windowDefinition(const ProjectSettings& s, const QString& windowName) {
    using formats::WindowField;
    QStringList fields(formats::kWindowFieldCount);
    const auto set = [&fields](WindowField field, const QString& text) {
        fields[static_cast<qsizetype>(formats::fieldIndex(field))] = text;
    };
    set(WindowField::Caption, quoted(s.title));
    set(WindowField::ContentsFile, quoted(contentsFileName()));
    set(WindowField::DefaultFile, quoted(s.homePage));
    set(WindowField::HomeFile, quoted(s.homePage));
    set(WindowField::Jump1Url, quoted(ProjectInfo::homeAddress()));
    set(WindowField::Jump1Text, quoted(QStringLiteral("My HomePage")));
    set(WindowField::Properties, QStringLiteral("0x42560"));
    set(WindowField::NavigationWidth, QStringLiteral("198"));
    set(WindowField::ToolbarButtons, QStringLiteral("0x4304E"));
    set(WindowField::Position, QStringLiteral("[0,0,810,583]"));
    set(WindowField::NavigationClosed, QString::number(s.navigationClosed ? 1 : 0));
    set(WindowField::NotifyId, QStringLiteral("0"));
    return windowName + u'=' + fields.join(u',');
}
} // namespace

QString windowNameAt(const QDateTime& when) {
    return QStringLiteral("Folvane_") + when.toString(QStringLiteral("yyMMdd_HHmmss"));
}

QString buildProjectFile(const ProjectSettings& settings, const ListBox& fileList, const QString& windowName) {
    const QStringList head = {
        QStringLiteral("[OPTIONS]"),
        QStringLiteral("CITATION=Made by kq"),
        QStringLiteral("Compatibility=1.1 or later"),
        QStringLiteral("Compiled file=") + quoted(settings.outputFile),
        QStringLiteral("Contents file=") + contentsFileName(),
        QStringLiteral("Default topic=") + settings.homePage,
        QStringLiteral("Default Window=") + windowName,
        QStringLiteral("Display compile notes=Yes"),
        QStringLiteral("Display compile progress=Yes"),
        QStringLiteral("Full-text search=Yes"),
        QStringLiteral("Title=") + settings.title,
        QStringLiteral("[WINDOWS]"),
        windowDefinition(settings, windowName),
        QStringLiteral("[MERGE FILES]"),
        QString(),
        QStringLiteral("[FILES]"),
    };
    QString text;
    qsizetype size = 1024;
    for (const ListEntry& e : fileList.entries())
        size += e.text.size() + 2;
    text.reserve(size);
    for (const QString& line : head)
        text += line + crlf;
    for (const ListEntry& e : fileList.entries()) {
        if (!FileMarker::isFolder(e.itemData))
            text += e.text + crlf;
    }
    return text;
}

} // namespace folvane
