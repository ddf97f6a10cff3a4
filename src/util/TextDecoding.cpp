#include "util/TextDecoding.h"

#include "base/SystemLocale.h"
#include "formats/TextDecoding.h"
#include "platform/AnsiCodePage.h"

#include <QStringDecoder>

namespace folvane {

namespace {

using formats::TextEncoding;

QString decoded(const QByteArray& bytes, const TextEncoding& encoding) {
    const QByteArray text = bytes.sliced(static_cast<qsizetype>(encoding.markLength));
    const auto decode = [&text](QStringConverter::Encoding form) {
        QStringDecoder decoder(form, QStringConverter::Flag::Stateless);
        return QString(decoder(text));
    };
    switch (encoding.form) {
    case TextEncoding::Form::Utf8:
        return decode(QStringConverter::Utf8);
    case TextEncoding::Form::Utf16LittleEndian:
        return decode(QStringConverter::Utf16LE);
    case TextEncoding::Form::Utf16BigEndian:
        return decode(QStringConverter::Utf16BE);
    case TextEncoding::Form::CodePage:
        break;
    }
    // Without converters for code pages, Latin-1 keeps every byte a character.
    return decodeCodePage(text, encoding.codePage).value_or(QString::fromLatin1(text));
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
