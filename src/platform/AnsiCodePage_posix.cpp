#include "platform/AnsiCodePage.h"

#include "base/SystemLocale.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace folvane {

namespace {

// The names Qt's converters know the code pages by.
QByteArray converterName(quint32 codePage) {
    switch (codePage) {
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 950:
        return "Big5";
    case 54936:
        return "GB18030";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 20932:
        return "EUC-JP";
    case 437:
    case 850:
    case 852:
    case 866:
        return "IBM" + QByteArray::number(codePage);
    default:
        break;
    }
    if (codePage > 28590 && codePage <= 28606)
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    return "windows-" + QByteArray::number(codePage);
}

} // namespace

std::optional<QString> decodeAnsiFileName(const QByteArray& bytes) {
    const QByteArray encoding = converterName(systemAnsiCodePage());
    QStringDecoder decoder(encoding.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    const QString name = decoder(bytes);
    if (decoder.hasError() || encodeAnsiFileName(name) != bytes)
        return std::nullopt;
    // Bytes that a code page keeps in private use (GBK's 0xFF) are no text, and other
    // converters do not map them back alike.
    for (const QChar c : name)
        if (c == QChar::ReplacementCharacter || (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF) || c.isSurrogate())
            return std::nullopt;
    return name;
}

std::optional<QByteArray> encodeAnsiFileName(const QString& name) {
    QStringEncoder encoder(converterName(systemAnsiCodePage()).constData(), QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder(name);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QString decodeAnsiCodePage(const QByteArray& bytes) {
    // Without converters for code pages, Latin-1 keeps every byte a character.
    return decodeCodePage(bytes, systemAnsiCodePage()).value_or(QString::fromLatin1(bytes));
}

std::optional<QString> decodeCodePage(const QByteArray& bytes, quint32 codePage) {
    QStringDecoder decoder(converterName(codePage).constData());
    if (!decoder.isValid())
        return std::nullopt;
    return decoder(bytes);
}

} // namespace folvane
