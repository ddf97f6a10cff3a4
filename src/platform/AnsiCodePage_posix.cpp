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
    const char* encoding;
};

// The ANSI code pages of Windows by language, under the names Qt's converters know.
constexpr std::array kCodePages{
    LanguageCodePage{"zh", "TW", "Big5"},       LanguageCodePage{"zh", "HK", "Big5"},
    LanguageCodePage{"zh", "MO", "Big5"},       LanguageCodePage{"zh", "", "GBK"},
    LanguageCodePage{"ja", "", "Shift_JIS"},    LanguageCodePage{"ko", "", "windows-949"},
    LanguageCodePage{"th", "", "windows-874"},  LanguageCodePage{"vi", "", "windows-1258"},
    LanguageCodePage{"ru", "", "windows-1251"}, LanguageCodePage{"uk", "", "windows-1251"},
    LanguageCodePage{"be", "", "windows-1251"}, LanguageCodePage{"bg", "", "windows-1251"},
    LanguageCodePage{"kk", "", "windows-1251"}, LanguageCodePage{"pl", "", "windows-1250"},
    LanguageCodePage{"cs", "", "windows-1250"}, LanguageCodePage{"hu", "", "windows-1250"},
    LanguageCodePage{"sk", "", "windows-1250"}, LanguageCodePage{"sl", "", "windows-1250"},
    LanguageCodePage{"hr", "", "windows-1250"}, LanguageCodePage{"ro", "", "windows-1250"},
    LanguageCodePage{"el", "", "windows-1253"}, LanguageCodePage{"tr", "", "windows-1254"},
    LanguageCodePage{"he", "", "windows-1255"}, LanguageCodePage{"ar", "", "windows-1256"},
    LanguageCodePage{"fa", "", "windows-1256"}, LanguageCodePage{"ur", "", "windows-1256"},
    LanguageCodePage{"et", "", "windows-1257"}, LanguageCodePage{"lv", "", "windows-1257"},
    LanguageCodePage{"lt", "", "windows-1257"},
};

QString localeName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

// language[_territory][.codeset][@modifier]
const char* encodingForLocale(const QString& name) {
    const QString base = name.section(u'.', 0, 0).section(u'@', 0, 0);
    const QString language = base.section(u'_', 0, 0).section(u'-', 0, 0);
    const QString territory = base.contains(u'_') ? base.section(u'_', 1) : base.section(u'-', 1);
    for (const LanguageCodePage& entry : kCodePages) {
        if (language == QLatin1String(entry.language) &&
            (*entry.territory == '\0' || territory == QLatin1String(entry.territory)))
            return entry.encoding;
    }
    return "windows-1252";
}

} // namespace

std::optional<QString> decodeAnsiFileName(const QByteArray& bytes) {
    const char* encoding = encodingForLocale(localeName());
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
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
    QStringEncoder encoder(encodingForLocale(localeName()), QStringConverter::Flag::Stateless);
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder(name);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QString decodeAnsiCodePage(const QByteArray& bytes) {
    QStringDecoder decoder(encodingForLocale(localeName()));
    // Without converters for code pages, Latin-1 keeps every byte a character.
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder(bytes);
}

} // namespace folvane
