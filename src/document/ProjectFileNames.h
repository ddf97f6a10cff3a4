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

} // namespace folvane
