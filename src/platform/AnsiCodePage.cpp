#include "platform/AnsiCodePage.h"

#include "base/CodePage.h"
#include "base/SystemLocale.h"

namespace folvane {

QString decodeAnsiCodePage(const QByteArray& bytes) {
    // Without converters for code pages, Latin-1 keeps every byte a character.
    return decodeCodePage(bytes, systemAnsiCodePage()).value_or(QString::fromLatin1(bytes));
}

std::optional<QString> decodeCodePage(const QByteArray& bytes, quint32 codePage) {
    if (!CodePage::supported(codePage))
        return std::nullopt;
    return QString::fromStdString(
        CodePage::toUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), codePage));
}

} // namespace folvane
