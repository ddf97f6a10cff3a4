#pragma once

#include <QString>

class QWidget;

namespace folvane {

// The system's folder browser with prompt shown above the folders, opening at startFolder;
// the chosen folder in native form, or empty when cancelled.
QString browseForFolder(QWidget* owner, const QString& startFolder, const QString& prompt, bool includeFiles);

} // namespace folvane
