#include "platform/AnsiCodePage.h"

#include "base/CodePage.h"
#include "base/SystemLocale.h"

#include <algorithm>
#include <string>

namespace folvane {

std::optional<QString> decodeAnsiFileName(const QByteArray& bytes) {
    const std::optional<QString> name = decodeCodePage(bytes, systemAnsiCodePage());
    if (!name || encodeAnsiFileName(*name) != bytes)
        return std::nullopt;
    // Bytes that a code page keeps in private use (GBK's 0xFF) are no text, and other
    // converters do not map them back alike.
    for (const QChar c : *name)
        if (c == QChar::ReplacementCharacter || (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF) || c.isSurrogate())
            return std::nullopt;
    return name;
}

std::optional<QByteArray> encodeAnsiFileName(const QString& name) {
    const std::uint32_t codePage = systemAnsiCodePage();
    if (!CodePage::supported(codePage))
        return std::nullopt;
    // Windows names hold no "?": one here stands for a character the code page lacks.
    const std::string bytes = CodePage::fromUtf8(name.toStdString(), codePage, CodePage::Unmappable::Question);
    if (std::count(bytes.begin(), bytes.end(), '?') != name.count(u'?'))
        return std::nullopt;
    return QByteArray::fromStdString(bytes);
}

} // namespace folvane
