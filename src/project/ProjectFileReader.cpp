#include "project/ProjectFileReader.h"

#include "base/AsciiText.h"
#include "formats/ProjectSections.h"
#include "formats/WindowFields.h"

namespace folvane {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Whether the default window (the first one when none has its name) opens without its navigation pane.
std::optional<bool> navigationClosed(const std::vector<formats::ProjectEntry>& windows, const QString& defaultWindow) {
    const formats::ProjectEntry* chosen = windows.empty() ? nullptr : &windows.front();
    for (const formats::ProjectEntry& w : windows) {
        if (fromUtf8(w.key).compare(defaultWindow, Qt::CaseInsensitive) == 0)
            chosen = &w;
    }
    if (chosen == nullptr)
        return std::nullopt;
    const std::string field =
        formats::windowField(formats::splitWindowFields(chosen->value), formats::WindowField::NavigationClosed);
    bool isNumber = false;
    const int value = QString::fromStdString(field).toInt(&isNumber);
    return isNumber ? std::optional<bool>(value != 0) : std::nullopt;
}

QString unquoted(std::string_view value) {
    const std::string_view v = AsciiText::trimmed(value);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        return fromUtf8(v.substr(1, v.size() - 2));
    return fromUtf8(v);
}

void readOption(ProjectFileContent& project, const formats::ProjectEntry& entry, QString& defaultWindow) {
    const QString key = fromUtf8(entry.key).toLower();
    if (key == u"compiled file")
        project.outputFile = unquoted(entry.value);
    else if (key == u"contents file")
        project.contentsFile = unquoted(entry.value);
    else if (key == u"default topic")
        project.homePage = fromUtf8(entry.value);
    else if (key == u"title")
        project.title = fromUtf8(entry.value);
    else if (key == u"default window")
        defaultWindow = fromUtf8(AsciiText::trimmed(entry.value));
}

} // namespace

ProjectFileContent readProjectFile(const QString& text) {
    const std::string utf8 = text.toStdString();
    ProjectFileContent project;
    std::vector<formats::ProjectEntry> windows;
    QString defaultWindow;
    for (const formats::ProjectSection& section : formats::readProjectSections(utf8).sections) {
        const bool isFiles = section.is("FILES");
        const bool isOptions = section.is("OPTIONS");
        project.isProject = project.isProject || isOptions || isFiles;
        for (const formats::ProjectLine& line : section.lines) {
            const auto entry = formats::projectEntry(line.text);
            if (isFiles)
                project.files.append(fromUtf8(AsciiText::trimmedRight(line.text)));
            else if (entry && isOptions)
                readOption(project, *entry, defaultWindow);
            else if (entry && section.is("WINDOWS"))
                windows.push_back(*entry);
        }
    }
    project.navigationClosed = navigationClosed(windows, defaultWindow);
    return project;
}

} // namespace folvane
