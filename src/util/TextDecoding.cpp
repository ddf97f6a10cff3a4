#include "util/TextDecoding.h"

#include "base/SystemLocale.h"
#include "formats/TextDecoding.h"
#include "platform/AnsiCodePage.h"

#include <QStringDecoder>

namespace folvane {

namespace {

using formats::TextEncoding;

QString decoded(const QByteArray& bytes, const TextEncoding& encoding) {
    using Form = TextEncoding::Form;
    if (encoding.form != Form::CodePage) {
        const QStringConverter::Encoding form = encoding.form == Form::Utf8                ? QStringConverter::Utf8
                                                : encoding.form == Form::Utf16LittleEndian ? QStringConverter::Utf16LE
                                                                                           : QStringConverter::Utf16BE;
        QStringDecoder decoder(form, QStringConverter::Flag::Stateless);
        QString text = decoder(QByteArrayView(bytes).sliced(static_cast<qsizetype>(encoding.markLength)));
        // Only UTF-8 without a mark has a code page to fall back to.
        if (!decoder.hasError() || encoding.form != Form::Utf8 || encoding.markLength > 0)
            return text;
    }
    // Without converters for code pages, Latin-1 keeps every byte a character.
    return decodeCodePage(bytes, encoding.codePage).value_or(QString::fromLatin1(bytes));
}

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

QString decodeProjectText(const QByteArray& bytes) {
    return decoded(bytes, formats::projectTextEncoding(view(bytes), systemAnsiCodePage()));
}

QString decodePageText(const QByteArray& bytes) {
    return decoded(bytes, formats::pageTextEncoding(view(bytes), systemAnsiCodePage()));
}

} // namespace folvane
