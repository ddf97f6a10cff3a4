#include "navbuilder/TitleBetween.h"

#include <QTest>

using namespace folvane;

class TestTitleBetween : public QObject {
    Q_OBJECT
private slots:
    void title_data();
    void title();
    void windowsPathFallsBackToItsFileName();
    void trimSpacesKeepsOtherWhiteSpace();
};

void TestTitleBetween::title_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("expected");

    const QString t1 = QStringLiteral("<title>");
    const QString t2 = QStringLiteral("</title>");
    const QString name = QStringLiteral("page.htm");
    QTest::newRow("title element") << QStringLiteral("<html><head><title>Home</title></head>") << t1 << t2
                                   << QStringLiteral("Home");
    QTest::newRow("over two lines") << QStringLiteral("<title>My\r\nPage</title>") << t1 << t2
                                    << QStringLiteral("MyPage");
    QTest::newRow("entity and tags kept")
        << QStringLiteral("<title>A &amp; <b>B</b></title>") << t1 << t2 << QStringLiteral("A &amp; <b>B</b>");
    QTest::newRow("markers in capitals") << QStringLiteral("<TITLE>Caps</TiTlE>") << t1 << t2 << QStringLiteral("Caps");
    QTest::newRow("case of the title kept")
        << QStringLiteral("<title>MiXeD</title>") << t1 << t2 << QStringLiteral("MiXeD");
    QTest::newRow("end marker only before start") << QStringLiteral("</title> x <title>rest") << t1 << t2 << name;
    QTest::newRow("no start marker") << QStringLiteral("<h1>Head</h1></title>") << t1 << t2 << name;
    QTest::newRow("nothing between") << QStringLiteral("<title></title>") << t1 << t2 << name;
    QTest::newRow("only spaces between") << QStringLiteral("<title>   </title>") << t1 << t2 << name;
    QTest::newRow("only CR LF between") << QStringLiteral("<title>\r\n</title>") << t1 << t2 << name;
    QTest::newRow("spaces trimmed, inner kept")
        << QStringLiteral("<title>  a  b  </title>") << t1 << t2 << QStringLiteral("a  b");
    QTest::newRow("tabs are not trimmed")
        << QStringLiteral("<title>\t a \t</title>") << t1 << t2 << QStringLiteral("\t a \t");
    QTest::newRow("lone LF and CR stay") << QStringLiteral("<title>a\nb\rc</title>") << t1 << t2
                                         << QStringLiteral("a\nb\rc");
    QTest::newRow("pairs removed in one sweep")
        << QStringLiteral("<title>x\r\r\n\ny</title>") << t1 << t2 << QStringLiteral("x\r\ny");
    QTest::newRow("first start, first end after it")
        << QStringLiteral("<title>One</title><title>Two</title>") << t1 << t2 << QStringLiteral("One");
    QTest::newRow("NUL means binary") << QString::fromUtf16(u"<title>Bin</title>\0x", 20) << t1 << t2 << name;
    QTest::newRow("empty text") << QString() << t1 << t2 << name;
    QTest::newRow("wildcards are plain text") << QStringLiteral("a*b [*]Star[?] x") << QStringLiteral("[*]")
                                              << QStringLiteral("[?]") << QStringLiteral("Star");
    QTest::newRow("star marker not a wildcard")
        << QStringLiteral("<title>T</title>") << QStringLiteral("*") << QStringLiteral("?") << name;
    QTest::newRow("end overlapping the start marker")
        << QStringLiteral("==Title=") << QStringLiteral("==") << QStringLiteral("=") << QStringLiteral("Title");
    QTest::newRow("empty end marker") << QStringLiteral("<title>T</title>") << t1 << QString() << name;
    QTest::newRow("empty start marker") << QStringLiteral("Lead</title>") << QString() << t2 << QStringLiteral("Lead");
    QTest::newRow("Chinese markers and title") << QStringLiteral("前言【标题：帮助】后") << QStringLiteral("标题：")
                                               << QStringLiteral("】") << QStringLiteral("帮助");
}

void TestTitleBetween::title() {
    QFETCH(QString, text);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, expected);
    QCOMPARE(TitleBetween(text, QStringLiteral("/site/sub/page.htm"), start, end, PathStyle::Posix), expected);
}

void TestTitleBetween::windowsPathFallsBackToItsFileName() {
    QCOMPARE(TitleBetween(QString(), QStringLiteral("C:\\p\\a.b\\x.htm"), QStringLiteral("<title>"),
                          QStringLiteral("</title>"), PathStyle::Windows),
             QStringLiteral("x.htm"));
}

void TestTitleBetween::trimSpacesKeepsOtherWhiteSpace() {
    QCOMPARE(trimSpaces(QStringLiteral("   ")), QString());
    QCOMPARE(trimSpaces(QStringLiteral(" \u3000a\n ")), QStringLiteral("\u3000a\n"));
}

QTEST_GUILESS_MAIN(TestTitleBetween)
#include "tst_titlebetween.moc"
