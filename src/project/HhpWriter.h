#pragma once

#include "project/ProjectSettings.h"

#include <QDateTime>
#include <QString>

namespace folvane {

class ListBox;

// "Folvane_" + yyMMdd_HHmmss of the save: the name of the help window.
QString windowNameAt(const QDateTime& when);

// The text of HH_KVEL.hhp: CR LF after every line, the file list's entries with a
// marker below 1 under [FILES], in list order. Throws RuntimeError when a text holds a
// lone surrogate.
QString buildProjectFile(const ProjectSettings& settings, const ListBox& fileList, const QString& windowName);

} // namespace folvane
