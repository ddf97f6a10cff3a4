#include "platform/FileWrite.h"

namespace folvane {

bool isOwnTemporaryName(const QString& name) {
    if (!name.endsWith(QStringLiteral(".tmp")) || !name.contains(QStringLiteral("folvane-")))
        return false;
    return name.startsWith(u'.') || name.startsWith(u'~');
}

} // namespace folvane
