#include "platform/AnsiCodePage.h"

#include <QStringDecoder>

namespace folvane {

QString decodeAnsiCodePage(const QByteArray& bytes) {
    // Qt's system encoding on Windows is the ANSI code page.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    return decoder(bytes);
}

// Windows names are Unicode: none is ever read in a code page.
std::optional<QString> decodeAnsiFileName(const QByteArray&) {
    return std::nullopt;
}

std::optional<QByteArray> encodeAnsiFileName(const QString&) {
    return std::nullopt;
}

} // namespace folvane
