#include "chm/search/PageText.h"

#include <QTest>

using namespace folvane::chm;

namespace {

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

class TestPageText : public QObject {
    Q_OBJECT
private slots:
    void charset_data();
    void charset();
    void markup_data();
    void markup();
};

void TestPageText::charset_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("GBK by http-equiv")
        << QByteArray("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                      "<title>\xD6\xD0\xCE\xC4</title></head><body><p>\xB0\xB2\xD7\xB0</p></body></html>")
        << 1252 << QByteArray("中文") << QByteArray("安装");
    QTest::newRow("Big5, unquoted, attributes the other way round")
        << QByteArray("<META CONTENT=text/html;charset=BIG5 HTTP-EQUIV=Content-Type><p>\xA4\xA4\xA4\xE5") << 936
        << QByteArray() << QByteArray("中文");
    QTest::newRow("meta charset beats valid UTF-8")
        << QByteArray("<meta charset='windows-1251'><p>\xD0\xB4") << 936 << QByteArray() << QByteArray("Рґ");
    QTest::newRow("declared UTF-8 that is not: the fallback")
        << QByteArray("<meta charset=\"utf-8\"><p>caf\xE9") << 1252 << QByteArray() << QByteArray("café");
    QTest::newRow("undeclared UTF-8") << QByteArray("<p>中文") << 936 << QByteArray() << QByteArray("中文");
    QTest::newRow("undeclared GBK") << QByteArray("<p>\xD6\xD0\xCE\xC4") << 936 << QByteArray() << QByteArray("中文");
    QTest::newRow("unknown label: the fallback")
        << QByteArray("<meta charset=klingon><p>\xD6\xD0") << 936 << QByteArray() << QByteArray("中");
    QTest::newRow("UTF-16 mark") << QByteArray("\xFF\xFE<\0p\0>\0\x2D\x4E\x87\x65", 12) << 1252 << QByteArray()
                                 << QByteArray("中文");
}

void TestPageText::charset() {
    QFETCH(QByteArray, page);
    QFETCH(int, fallback);
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, body);
    const PageText text = extractPageText(view(page), static_cast<std::uint32_t>(fallback));
    QCOMPARE(QByteArray::fromStdString(text.title), title);
    QCOMPARE(QByteArray::fromStdString(text.body), body);
}

void TestPageText::markup_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("hidden parts, inline and block tags")
        << QByteArray("<!DOCTYPE html><html><head><title>\n A &amp;  <b>B</b> </title>"
                      "<style>p { content: \"</p>\" }</style><SCRIPT>if (a<b) write('<p>x</p>')</Script >"
                      "</head><body><!-- <p>gone</p> -->foo<b>bar</b> <i>baz</i>\n\tqux<br>one<td>two</td>"
                      "<?php echo ?>three<!--><!---->four</body></html>")
        << QByteArray("A & <b>B</b>") << QByteArray("foobar baz qux one two threefour");
    QTest::newRow("no title") << QByteArray("<p>Text</p>") << QByteArray() << QByteArray("Text");
    QTest::newRow("second title") << QByteArray("<title>A</title>b<title>C</title>d") << QByteArray("A")
                                  << QByteArray("b d");
    QTest::newRow("a '<' that starts no tag")
        << QByteArray("a < b, 1<2, <3 x</ y>z <") << QByteArray() << QByteArray("a < b, 1<2, <3 xz <");
    QTest::newRow("quotes in tags") << QByteArray("<a title=\"x > y\" alt='>'>one</a> <a title=x\"y>two</a>")
                                    << QByteArray() << QByteArray("one two");
    QTest::newRow("references")
        << QByteArray("&lt;&#65;&#x42;&#X43&#68x &copy 2003 &notit; &frac14x &eacute;&Alpha;&thetasym; "
                      "&bogus; & &#; &#150; &#0; &#xD800; &#99999999; a&nbsp;b&#9;c&#32; &apos;")
        << QByteArray()
        << QByteArray("<ABCDx © 2003 ¬it; ¼x éΑϑ &bogus; & &#; – \xEF\xBF\xBD \xEF\xBF\xBD "
                      "\xEF\xBF\xBD a b c '");
    QTest::newRow("control characters and no-break spaces are blanks") << QByteArray("a\x01\x7F"
                                                                                     "b\xC2\xA0"
                                                                                     "c\xC2\x85"
                                                                                     "d")
                                                                       << QByteArray() << QByteArray("a b c d");
    QTest::newRow("cut off inside a script") << QByteArray("a<script>b") << QByteArray() << QByteArray("a");
    QTest::newRow("cut off inside a comment") << QByteArray("a<!-- b") << QByteArray() << QByteArray("a");
    QTest::newRow("cut off inside a tag") << QByteArray("a<p class=\"b>c") << QByteArray() << QByteArray("a");
}

void TestPageText::markup() {
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, body);
    const PageText text = extractPageText(view(page), 1252);
    QCOMPARE(QByteArray::fromStdString(text.title), title);
    QCOMPARE(QByteArray::fromStdString(text.body), body);
}

QTEST_APPLESS_MAIN(TestPageText)
#include "tst_pagetext.moc"
