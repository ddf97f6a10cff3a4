#include "platform/AnsiCodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

#include <array>

namespace folvane {

namespace {

struct LanguageCodePage {
    const char* language;
    const char* territory; // empty: every other territory
    quint32 codePage;
};

// The ANSI code pages of Windows by language.
constexpr std::array kCodePages{
    LanguageCodePage{"zh", "TW", 950}, LanguageCodePage{"zh", "HK", 950}, LanguageCodePage{"zh", "MO", 950},
    LanguageCodePage{"zh", "", 936},   LanguageCodePage{"ja", "", 932},   LanguageCodePage{"ko", "", 949},
    LanguageCodePage{"th", "", 874},   LanguageCodePage{"vi", "", 1258},  LanguageCodePage{"ru", "", 1251},
    LanguageCodePage{"uk", "", 1251},  LanguageCodePage{"be", "", 1251},  LanguageCodePage{"bg", "", 1251},
    LanguageCodePage{"kk", "", 1251},  LanguageCodePage{"pl", "", 1250},  LanguageCodePage{"cs", "", 1250},
    LanguageCodePage{"hu", "", 1250},  LanguageCodePage{"sk", "", 1250},  LanguageCodePage{"sl", "", 1250},
    LanguageCodePage{"hr", "", 1250},  LanguageCodePage{"ro", "", 1250},  LanguageCodePage{"el", "", 1253},
    LanguageCodePage{"tr", "", 1254},  LanguageCodePage{"he", "", 1255},  LanguageCodePage{"ar", "", 1256},
    LanguageCodePage{"fa", "", 1256},  LanguageCodePage{"ur", "", 1256},  LanguageCodePage{"et", "", 1257},
    LanguageCodePage{"lv", "", 1257},  LanguageCodePage{"lt", "", 1257},
};

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

QString localeName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

// language[_territory][.codeset][@modifier]
quint32 codePageForLocale(const QString& name) {
    const QString base = name.section(u'.', 0, 0).section(u'@', 0, 0);
    const QString language = base.section(u'_', 0, 0).section(u'-', 0, 0);
    const QString territory = base.contains(u'_') ? base.section(u'_', 1) : base.section(u'-', 1);
    for (const LanguageCodePage& entry : kCodePages) {
        if (language == QLatin1String(entry.language) &&
            (*entry.territory == '\0' || territory == QLatin1String(entry.territory)))
            return entry.codePage;
    }
    return 1252;
}

} // namespace

std::optional<QString> decodeAnsiFileName(const QByteArray& bytes) {
    const QByteArray encoding = converterName(codePageForLocale(localeName()));
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
    QStringEncoder encoder(converterName(codePageForLocale(localeName())).constData(),
                           QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder(name);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QString decodeAnsiCodePage(const QByteArray& bytes) {
    // Without converters for code pages, Latin-1 keeps every byte a character.
    return decodeCodePage(bytes, codePageForLocale(localeName())).value_or(QString::fromLatin1(bytes));
}

std::optional<QString> decodeCodePage(const QByteArray& bytes, quint32 codePage) {
    QStringDecoder decoder(converterName(codePage).constData());
    if (!decoder.isValid())
        return std::nullopt;
    return decoder(bytes);
}

} // namespace folvane
