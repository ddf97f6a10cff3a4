#include "project/HhpWriter.h"

#include "document/ProjectFileNames.h"
#include "formats/ProjectSections.h"
#include "host/ProjectInfo.h"
#include "toc/FileMarker.h"
#include "toc/ListBox.h"
#include "util/TextFile.h"

namespace folvane {

QString windowNameAt(const QDateTime& when) {
    return QStringLiteral("Folvane_") + when.toString(QStringLiteral("yyMMdd_HHmmss"));
}

QString buildProjectFile(const ProjectSettings& settings, const ListBox& fileList, const QString& windowName) {
    using formats::WindowField;
    formats::WindowDefinition window{utf8ForFile(windowName), {}};
    window.set(WindowField::Caption, utf8ForFile(settings.title));
    window.set(WindowField::ContentsFile, utf8ForFile(contentsFileName()));
    window.set(WindowField::DefaultFile, utf8ForFile(settings.homePage));
    window.set(WindowField::HomeFile, utf8ForFile(settings.homePage));
    window.set(WindowField::Jump1Url, utf8ForFile(ProjectInfo::homeAddress()));
    window.set(WindowField::Jump1Text, "My HomePage");
    window.set(WindowField::Properties, "0x42560");
    window.set(WindowField::NavigationWidth, "198");
    window.set(WindowField::ToolbarButtons, "0x4304E");
    window.set(WindowField::Position, "[0,0,810,583]");
    window.set(WindowField::NavigationClosed, settings.navigationClosed ? "1" : "0");
    window.set(WindowField::NotifyId, "0");
    formats::ProjectFileParts project;
    project.options = {
        {"CITATION", "Made by kq"},
        {"Compatibility", "1.1 or later"},
        {formats::option::kCompiledFile, '"' + utf8ForFile(settings.outputFile) + '"'},
        {formats::option::kContentsFile, utf8ForFile(contentsFileName())},
        {formats::option::kDefaultTopic, utf8ForFile(settings.homePage)},
        {formats::option::kDefaultWindow, window.name},
        {"Display compile notes", "Yes"},
        {"Display compile progress", "Yes"},
        {"Full-text search", "Yes"},
        {formats::option::kTitle, utf8ForFile(settings.title)},
    };
    project.windows = {window};
    project.sections = {{"MERGE FILES", {""}}};
    project.files.reserve(static_cast<std::size_t>(fileList.count()));
    for (const ListEntry& e : fileList.entries()) {
        if (!FileMarker::isFolder(e.itemData))
            project.files.push_back(utf8ForFile(e.text));
    }
    return QString::fromStdString(project.text());
}

} // namespace folvane
