#pragma once

#include "util/PathStyle.h"

#include <QStringList>
#include <QStringView>

namespace folvane {

class DialogMemory;
class Host;

namespace FileDialogMode {
inline constexpr int Open = 1; // several files may be chosen
inline constexpr int Save = 2;
} // namespace FileDialogMode

// Stands for the all-files filter.
inline constexpr QStringView kDefaultFilterName = u"DLG_Defalt_Filter";

// Open (several files) or save dialog, started in memory.LastFolder, else in the folder of
// memory.LastFile. filter is "name|pattern|..." or the default filter's name. Returns the
// chosen full paths, or none when nothing was chosen. Afterwards LastFolder
// is the folder of the result with a trailing separator and LastFile its last path; a
// cancelled dialog empties both.
QStringList ShowFileDialog(Host& host, DialogMemory& memory, int mode, const QString& filter, const QString& title,
                           const QString& defaultExtension, PathStyle style = nativePathStyle());

// Folder browser started at initialFolder, else memory.LastFolder, else the current folder.
// Returns the chosen folder without a trailing separator (a Posix root stays "/"), or empty
// when cancelled; the result is also written to initialFolder and memory.LastFolder.
QString BrowseForFolder(Host& host, DialogMemory& memory, QString& initialFolder, const QString& title,
                        bool includeFiles, PathStyle style = nativePathStyle());

} // namespace folvane
