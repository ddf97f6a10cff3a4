#include "platform/AnsiCodePage.h"

namespace folvane {

// Windows names are Unicode: none is ever read in a code page.
std::optional<QString> decodeAnsiFileName(const QByteArray&) {
    return std::nullopt;
}

std::optional<QByteArray> encodeAnsiFileName(const QString&) {
    return std::nullopt;
}

} // namespace folvane
