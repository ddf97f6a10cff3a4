#pragma once

#include <QString>

namespace folvane {

inline QString projectFileName() {
    return QStringLiteral("HH_KVEL.hhp");
}
inline QString contentsFileName() {
    return QStringLiteral("HH_KVEL.hhc");
}
inline QString defaultOutputFileName() {
    return QStringLiteral("HH_KVEL.chm");
}

// The project's own files and compiled help files: files of a folder that are never pages
// of its help. Letter case is ignored, as Windows ignores it.
inline bool isProjectOutputName(const QString& fileName) {
    return fileName.compare(projectFileName(), Qt::CaseInsensitive) == 0 ||
           fileName.compare(contentsFileName(), Qt::CaseInsensitive) == 0 ||
           fileName.endsWith(QStringLiteral(".chm"), Qt::CaseInsensitive);
}

} // namespace folvane
