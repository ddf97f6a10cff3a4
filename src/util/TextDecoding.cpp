#include "util/TextDecoding.h"

#include "base/CodePage.h"
#include "formats/DeclaredCharset.h"
#include "platform/AnsiCodePage.h"

#include <QStringDecoder>

#include <optional>
#include <string_view>

namespace folvane {

namespace {

constexpr quint32 kUtf8 = CodePage::kUtf8;
constexpr quint32 kGbk = CodePage::kGbk;

} // namespace

QString decodeProjectText(const QByteArray& bytes) {
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    // A byte-order mark says which encoding was meant, even where the bytes then go wrong.
    if (marked) {
        QStringDecoder decoder(*marked, QStringConverter::Flag::Stateless);
        return decoder(bytes);
    }
    // Stateless, so that a sequence cut off at the end counts as invalid too.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? decodeAnsiCodePage(bytes) : text;
}

QString decodePageText(const QByteArray& bytes) {
    if (QStringConverter::encodingForData(bytes))
        return decodeProjectText(bytes);
    std::optional<quint32> codePage =
        formats::declaredCodePage(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!codePage || *codePage == kUtf8)
        return decodeProjectText(bytes);
    std::optional<QString> text = decodeCodePage(bytes, *codePage);
    // Where GB18030 is missing, its subset GBK reads most pages that name it.
    if (!text && *codePage == 54936)
        text = decodeCodePage(bytes, kGbk);
    return text ? *text : decodeProjectText(bytes);
}

} // namespace folvane
