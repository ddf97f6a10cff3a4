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

// The home page and the title as written: the window shows them again as the user gave them.
void readOption(ProjectFileContent& project, const formats::ProjectEntry& entry, QString& defaultWindow) {
    namespace option = formats::option;
    const auto is = [&entry](std::string_view key) { return AsciiText::equalsIgnoringCase(entry.key, key); };
    if (is(option::kCompiledFile))
        project.outputFile = fromUtf8(formats::unquotedPath(entry.value));
    else if (is(option::kContentsFile))
        project.contentsFile = fromUtf8(formats::unquotedPath(entry.value));
    else if (is(option::kDefaultTopic))
        project.homePage = fromUtf8(entry.value);
    else if (is(option::kTitle))
        project.title = fromUtf8(entry.value);
    else if (is(option::kDefaultWindow))
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
