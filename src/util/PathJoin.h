#pragma once

#include "util/PathStyle.h"

#include <QString>

namespace folvane {

// folder + separator + name, without doubling the separator after a root such as "/".
inline QString joinPath(const QString& folder, const QString& name, PathStyle style = nativePathStyle()) {
    const QChar sep = pathSeparator(style);
    if (folder.endsWith(sep))
        return folder + name;
    return folder + sep + name;
}

} // namespace folvane
