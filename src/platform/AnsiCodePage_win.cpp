#include "platform/AnsiCodePage.h"

#include <QStringDecoder>

namespace folvane {

QString decodeAnsiCodePage(const QByteArray& bytes) {
    // Qt's system encoding on Windows is the ANSI code page.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless);
    return decoder(bytes);
}

} // namespace folvane
