#include "base/CodePage.h"
#include "base/Lcid.h"
#include "base/SystemLocale.h"
#include "base/Utf8.h"
#include "formats/TextDecoding.h"

#include <QTest>

#include <array>
#include <optional>

using namespace folvane;

namespace {

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QByteArray bytes(const std::string& text) {
    return QByteArray::fromStdString(text);
}

} // namespace

class TestTextEncoding : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void validUtf8_data();
    void validUtf8();
    void fromUtf8_data();
    void fromUtf8();
    void localeName_data();
    void localeName();
    void codePageOfLanguage_data();
    void codePageOfLanguage();
    void parseLanguage_data();
    void parseLanguage();
    void cjk_data();
    void cjk();
    void systemLanguageFromEnvironment_data();
    void systemLanguageFromEnvironment();
};

void TestTextEncoding::decode_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<bool>("wasUtf8");

    const QByteArray chinese = "中文";
    const QByteArray bad = "\xEF\xBF\xBD"; // U+FFFD
    QTest::newRow("ASCII") << QByteArray("Title=a\r\n") << 936 << QByteArray("Title=a\r\n") << true;
    QTest::newRow("UTF-8 without mark") << chinese << 936 << chinese << true;
    QTest::newRow("UTF-8 mark dropped") << QByteArray("\xEF\xBB\xBF" + chinese) << 936 << chinese << true;
    QTest::newRow("mark, then a bad byte")
        << QByteArray("\xEF\xBB\xBF\xD6\xD0") << 936 << QByteArray(bad + bad) << true;
    QTest::newRow("GBK") << QByteArray("\xD6\xD0\xCE\xC4") << 936 << chinese << false;
    QTest::newRow("GBK, bad bytes replaced")
        << QByteArray("\xD6\xD0\xFF\x41\x81") << 936 << QByteArray("中" + bad + "A" + bad) << false;
    QTest::newRow("Big5") << QByteArray("\xA4\xA4\xA4\xE5") << 950 << chinese << false;
    QTest::newRow("Shift JIS") << QByteArray("\x93\xFA\x96\x7B") << 932 << QByteArray("日本") << false;
    QTest::newRow("overlong is no UTF-8") << QByteArray("\xC0\xAF") << 1252 << QByteArray("À¯") << false;
    QTest::newRow("unsupported code page") << QByteArray("a\xFF") << 12345 << QByteArray("a" + bad) << false;
    QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE\x2D\x4E\x87\x65", 6) << 1252 << chinese << false;
    QTest::newRow("UTF-16BE, odd byte") << QByteArray("\xFE\xFF\x4E\x2D\x65", 5) << 1252 << QByteArray("中" + bad)
                                        << false;
    QTest::newRow("UTF-16 lone surrogate")
        << QByteArray("\xFF\xFE\x3D\xD8\x41\x00", 6) << 1252 << QByteArray(bad + "A") << false;
}

void TestTextEncoding::decode() {
    QFETCH(QByteArray, input);
    QFETCH(int, fallback);
    QFETCH(QByteArray, utf8);
    QFETCH(bool, wasUtf8);
    const formats::DecodedText text = formats::decodeText(view(input), static_cast<std::uint32_t>(fallback));
    QCOMPARE(bytes(text.utf8), utf8);
    QCOMPARE(text.wasUtf8, wasUtf8);
}

void TestTextEncoding::validUtf8_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("valid");

    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << true;
    QTest::newRow("emoji") << QByteArray("\xF0\x9F\x98\x80") << true;
    QTest::newRow("U+10FFFF") << QByteArray("\xF4\x8F\xBF\xBF") << true;
    QTest::newRow("overlong 2") << QByteArray("\xC0\x80") << false;
    QTest::newRow("overlong 3") << QByteArray("\xE0\x80\xAF") << false;
    QTest::newRow("overlong 4") << QByteArray("\xF0\x8F\xBF\xBF") << false;
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
    QTest::newRow("cut short") << QByteArray("\xE4\xB8") << false;
    QTest::newRow("lone continuation") << QByteArray("a\x80") << false;
}

void TestTextEncoding::validUtf8() {
    QFETCH(QByteArray, input);
    QFETCH(bool, valid);
    QCOMPARE(Utf8::isValid(view(input)), valid);
}

void TestTextEncoding::fromUtf8_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<bool>("reference");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray gbk = "\xD6\xD0\xCE\xC4";
    QTest::newRow("emoji as reference") << QByteArray("中文😀!") << 936 << true << QByteArray(gbk + "&#128512;!");
    QTest::newRow("emoji as ?") << QByteArray("中文😀!") << 936 << false << QByteArray(gbk + "?!");
    QTest::newRow("euro in 1252") << QByteArray("a€b") << 1252 << false
                                  << QByteArray("a\x80"
                                                "b");
    QTest::newRow("no best fit") << QByteArray("Ω中") << 1252 << true << QByteArray("&#937;&#20013;");
    QTest::newRow("bad UTF-8 byte") << QByteArray("a\xFF"
                                                  "b\xE4")
                                    << 936 << false << QByteArray("a?b?");
    QTest::newRow("pieces end between characters") << QByteArray(QByteArray("中").repeated(200) + "😀") << 936 << true
                                                   << QByteArray(QByteArray("\xD6\xD0").repeated(200) + "&#128512;");
    QTest::newRow("Big5") << QByteArray("中文") << 950 << false << QByteArray("\xA4\xA4\xA4\xE5");
    QTest::newRow("UTF-8 stays") << QByteArray("中😀") << 65001 << true << QByteArray("中😀");
    QTest::newRow("unsupported stays") << QByteArray("中") << 12345 << true << QByteArray("中");
}

void TestTextEncoding::fromUtf8() {
    QFETCH(QByteArray, utf8);
    QFETCH(int, codePage);
    QFETCH(bool, reference);
    QFETCH(QByteArray, expected);
    const auto unmappable = reference ? CodePage::Unmappable::NumericReference : CodePage::Unmappable::Question;
    QCOMPARE(bytes(CodePage::fromUtf8(view(utf8), static_cast<std::uint32_t>(codePage), unmappable)), expected);
}

void TestTextEncoding::localeName_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("lcid"); // -1: none

    QTest::newRow("zh_CN.UTF-8") << QByteArray("zh_CN.UTF-8") << 0x804;
    QTest::newRow("zh_TW") << QByteArray("zh_TW") << 0x404;
    QTest::newRow("zh_HK.big5hkscs") << QByteArray("zh_HK.big5hkscs") << 0xC04;
    QTest::newRow("zh") << QByteArray("zh") << 0x804;
    QTest::newRow("ja_JP.eucJP") << QByteArray("ja_JP.eucJP") << 0x411;
    QTest::newRow("ko_KR.euckr") << QByteArray("ko_KR.euckr") << 0x412;
    QTest::newRow("en_US") << QByteArray("en_US") << 0x409;
    QTest::newRow("en") << QByteArray("en") << 0x409;
    QTest::newRow("en_GB@euro") << QByteArray("en_GB.ISO-8859-15@euro") << 0x809;
    QTest::newRow("de_AT") << QByteArray("de_AT") << 0xC07;
    QTest::newRow("de_LU: main territory") << QByteArray("de_LU") << 0x407;
    QTest::newRow("Windows spelling") << QByteArray("pt-BR") << 0x416;
    QTest::newRow("C") << QByteArray("C") << -1;
    QTest::newRow("POSIX") << QByteArray("POSIX") << -1;
    QTest::newRow("C.UTF-8") << QByteArray("C.UTF-8") << -1;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("unknown") << QByteArray("xx_YY") << -1;
}

void TestTextEncoding::localeName() {
    QFETCH(QByteArray, name);
    QFETCH(int, lcid);
    const std::optional<std::uint32_t> found = Lcid::fromLocaleName(view(name));
    QCOMPARE(found ? static_cast<int>(*found) : -1, lcid);
}

void TestTextEncoding::codePageOfLanguage_data() {
    QTest::addColumn<int>("lcid");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<bool>("doubleByte");

    QTest::newRow("zh-CN") << 0x804 << 936 << true;
    QTest::newRow("zh-CN, stroke order") << 0x20804 << 936 << true;
    QTest::newRow("zh-TW") << 0x404 << 950 << true;
    QTest::newRow("zh-SG") << 0x1004 << 936 << true;
    QTest::newRow("ja-JP") << 0x411 << 932 << true;
    QTest::newRow("ko-KR") << 0x412 << 949 << true;
    QTest::newRow("en-US") << 0x409 << 1252 << false;
    QTest::newRow("ru-RU") << 0x419 << 1251 << false;
    QTest::newRow("pl-PL") << 0x415 << 1250 << false;
    QTest::newRow("th-TH") << 0x41E << 874 << false;
    QTest::newRow("vi-VN") << 0x42A << 1258 << false;
    QTest::newRow("other Russian territory") << 0x819 << 1251 << false;
    QTest::newRow("unknown") << 0x7F << 1252 << false;
}

void TestTextEncoding::codePageOfLanguage() {
    QFETCH(int, lcid);
    QFETCH(int, codePage);
    QFETCH(bool, doubleByte);
    QCOMPARE(static_cast<int>(Lcid::ansiCodePage(static_cast<std::uint32_t>(lcid))), codePage);
    QCOMPARE(Lcid::isDoubleByte(static_cast<std::uint32_t>(lcid)), doubleByte);
    QVERIFY(CodePage::supported(static_cast<std::uint32_t>(codePage)));
}

void TestTextEncoding::parseLanguage_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("lcid"); // -1: none

    QTest::newRow("hex and name") << QByteArray("0x804 中文(中国)") << 0x804;
    QTest::newRow("upper-case X, blanks") << QByteArray(" \t0X0411") << 0x411;
    QTest::newRow("decimal") << QByteArray("2052") << 2052;
    QTest::newRow("0x alone") << QByteArray("0x") << -1;
    QTest::newRow("words") << QByteArray("Chinese") << -1;
    QTest::newRow("too big") << QByteArray("0x100000000") << -1;
}

void TestTextEncoding::parseLanguage() {
    QFETCH(QByteArray, text);
    QFETCH(int, lcid);
    const std::optional<std::uint32_t> parsed = Lcid::parse(view(text));
    QCOMPARE(parsed ? static_cast<int>(*parsed) : -1, lcid);
}

void TestTextEncoding::cjk_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("cjk");

    QTest::newRow("Latin") << QByteArray("Résumé") << false;
    QTest::newRow("ideograph") << QByteArray("a中") << true;
    QTest::newRow("extension B") << QByteArray("\xF0\xA0\x80\x80") << true;
    QTest::newRow("kana") << QByteArray("カ") << true;
    QTest::newRow("hangul") << QByteArray("한") << true;
    QTest::newRow("fullwidth comma") << QByteArray("，") << true;
    QTest::newRow("ideographic full stop") << QByteArray("。") << true;
    QTest::newRow("bad bytes") << QByteArray("\xE4\xB8") << false;
}

void TestTextEncoding::cjk() {
    QFETCH(QByteArray, text);
    QFETCH(bool, cjk);
    QCOMPARE(Lcid::containsCjk(view(text)), cjk);
}

void TestTextEncoding::systemLanguageFromEnvironment_data() {
    QTest::addColumn<QByteArray>("all");
    QTest::addColumn<QByteArray>("ctype");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<int>("codePage");

    QTest::newRow("LANG") << QByteArray() << QByteArray() << QByteArray("zh_TW.UTF-8") << 950;
    QTest::newRow("LC_CTYPE before LANG") << QByteArray() << QByteArray("ja_JP") << QByteArray("zh_TW") << 932;
    QTest::newRow("LC_ALL first") << QByteArray("ru_RU") << QByteArray("ja_JP") << QByteArray("zh_TW") << 1251;
    QTest::newRow("C") << QByteArray("C.UTF-8") << QByteArray() << QByteArray("zh_CN") << 1252;
}

void TestTextEncoding::systemLanguageFromEnvironment() {
#ifdef Q_OS_WIN
    QSKIP("Windows asks the system, not the environment");
#endif
    QFETCH(QByteArray, all);
    QFETCH(QByteArray, ctype);
    QFETCH(QByteArray, lang);
    QFETCH(int, codePage);
    const std::array<const char*, 3> names{"LC_ALL", "LC_CTYPE", "LANG"};
    const std::array<QByteArray, 3> values{all, ctype, lang};
    std::array<std::optional<QByteArray>, 3> saved;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (qEnvironmentVariableIsSet(names[i]))
            saved[i] = qgetenv(names[i]);
        qputenv(names[i], values[i]);
    }
    const std::uint32_t found = systemAnsiCodePage();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (saved[i])
            qputenv(names[i], *saved[i]);
        else
            qunsetenv(names[i]);
    }
    QCOMPARE(static_cast<int>(found), codePage);
}

QTEST_APPLESS_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
