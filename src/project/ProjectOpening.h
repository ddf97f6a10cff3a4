#pragma once

#include "project/ProjectSettings.h"
#include "toc/ListBox.h"
#include "util/PathStyle.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace folvane {

// A project file read back into the lists and settings of the window.
struct OpenedProject {
    QString folder; // the project file's folder
    QList<ListEntry> fileList;
    QList<ListEntry> toc; // linked to fileList by position, -1 for none
    ProjectSettings settings;
    // Files the project names that are gone (or, named only by the contents, lie outside its
    // folder), full paths, once each.
    QStringList leftOut;
};

// Reads projectFile and the contents file it names. The file list holds the [FILES] entries
// that still exist, as full paths, then the existing files inside the folder that only a
// contents entry names; entries whose target is left out stay, unlinked. A missing contents
// file gives an empty contents list and is left out. Throws RuntimeError when the project file
// or an existing contents file cannot be read, or the lists would be too long.
OpenedProject openProjectFile(const QString& projectFile, PathStyle style = nativePathStyle());

// The message that lists what was left out.
QString leftOutMessage(const QStringList& leftOut);
// intro, then the first paths one a line and how many there are when not all are shown.
QString pathListMessage(const QString& intro, const QStringList& paths);

} // namespace folvane
