#include "platform/AnsiCodePage.h"

#include <QStringDecoder>

#include <windows.h>

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

std::optional<QString> decodeCodePage(const QByteArray& bytes, quint32 codePage) {
    if (!IsValidCodePage(codePage))
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    const int size = MultiByteToWideChar(codePage, 0, bytes.constData(), static_cast<int>(bytes.size()), nullptr, 0);
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(codePage, 0, bytes.constData(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

} // namespace folvane
