#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace folvane {

// What a project file names, as written: paths relative to its folder or absolute.
struct ProjectFileContent {
    QString outputFile; // "Compiled file=", without its quotes
    QString contentsFile;
    QString homePage; // "Default topic="
    QString title;
    // The default window's (or the first one's) navigation pane: "1" closed, "0" shown.
    std::optional<bool> navigationClosed;
    QStringList files;
    // Whether an [OPTIONS] or [FILES] section was there: without one the text is no project.
    bool isProject = false;
};

// Reads the text of a project file forgivingly: sections and keys in any case, comments and
// unknown sections passed over. Title and home page keep every character after "=", so that
// what the program wrote reads back exactly.
ProjectFileContent readProjectFile(const QString& text);

} // namespace folvane
