#include "platform/AnsiCodePage.h"

#include "base/CodePage.h"

namespace folvane {

std::optional<QString> decodeCodePage(const QByteArray& bytes, quint32 codePage) {
    if (!CodePage::supported(codePage))
        return std::nullopt;
    return QString::fromStdString(
        CodePage::toUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), codePage));
}

} // namespace folvane
