#include "chm/project/HhpReader.h"
#include "host/ProjectInfo.h"
#include "tools/ProgramProject.h"

#include <QTest>

#include <map>
#include <random>

using namespace folvane;
using namespace folvane::chm;

namespace {

HhpProject readBytes(const QByteArray& text) {
    return HhpReader::read(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

QStringList toList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

QString option(const HhpProject& p, const QByteArray& name) {
    const std::map<QByteArray, const std::string*> options{
        {"compiledFile", &p.compiledFile}, {"contentsFile", &p.contentsFile},   {"indexFile", &p.indexFile},
        {"defaultTopic", &p.defaultTopic}, {"defaultWindow", &p.defaultWindow}, {"title", &p.title},
        {"defaultFont", &p.defaultFont},
    };
    return QString::fromStdString(*options.at(name));
}

} // namespace

class TestHhpReader : public QObject {
    Q_OBJECT
private slots:
    void programProjectReadsWithoutNotices();
    void options_data();
    void options();
    void language_data();
    void language();
    void codePageOfItsLanguage_data();
    void codePageOfItsLanguage();
    void fullTextSearch_data();
    void fullTextSearch();
    void windowFields_data();
    void windowFields();
    void files_data();
    void files();
    void contextSectionsKeepTheirLines();
    void notices_data();
    void notices();
    void garbageKeepsLinesApart();
};

void TestHhpReader::programProjectReadsWithoutNotices() {
    const ProgramProject saved{QStringLiteral("D:\\帮助\\out.chm"),
                               QStringLiteral("index.htm"),
                               QStringLiteral("帮助, \"测试\""),
                               {QStringLiteral("index.htm"), QStringLiteral("子目录\\第一页.htm")},
                               {}};
    const QByteArray text = saved.text().toUtf8();
    const HhpProject p = readBytes(text);
    QCOMPARE(QString::fromStdString(p.compiledFile), QStringLiteral("D:\\帮助\\out.chm"));
    QCOMPARE(QString::fromStdString(p.contentsFile), QStringLiteral("HH_KVEL.hhc"));
    QCOMPARE(QString::fromStdString(p.defaultTopic), QStringLiteral("index.htm"));
    QCOMPARE(QString::fromStdString(p.defaultWindow), saved.window);
    QCOMPARE(QString::fromStdString(p.title), QStringLiteral("帮助, \"测试\""));
    QVERIFY(p.fullTextSearch);
    QVERIFY(!p.language);
    QCOMPARE(p.windows.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(p.windows[0].name), saved.window);
    const QStringList fields{QStringLiteral("帮助, \"测试\""),
                             QStringLiteral("HH_KVEL.hhc"),
                             QString(),
                             QStringLiteral("index.htm"),
                             QStringLiteral("index.htm"),
                             ProjectInfo::homeAddress(),
                             QStringLiteral("My HomePage"),
                             QString(),
                             QString(),
                             QStringLiteral("0x42560"),
                             QStringLiteral("198"),
                             QStringLiteral("0x4304E"),
                             QStringLiteral("[0,0,810,583]"),
                             QString(),
                             QString(),
                             QString(),
                             QStringLiteral("1"),
                             QString(),
                             QString(),
                             QStringLiteral("0")};
    QCOMPARE(toList(p.windows[0].fields), fields);
    QCOMPARE(toList(p.files), QStringList({QStringLiteral("index.htm"), QStringLiteral("子目录\\第一页.htm")}));
    QCOMPARE(toList(p.notices), QStringList());
}

void TestHhpReader::options_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("member");
    QTest::addColumn<QString>("expected");

    QTest::newRow("quoted output") << QByteArray("Compiled file=\"a b.chm\"") << QByteArray("compiledFile")
                                   << QStringLiteral("a b.chm");
    QTest::newRow("unquoted output") << QByteArray("Compiled file=a.chm") << QByteArray("compiledFile")
                                     << QStringLiteral("a.chm");
    QTest::newRow("one quote only") << QByteArray("Compiled file=\"a.chm") << QByteArray("compiledFile")
                                    << QStringLiteral("\"a.chm");
    QTest::newRow("key in any case, blanks around")
        << QByteArray(" \tcOMPILED FILE \t= \t a.chm \t") << QByteArray("compiledFile") << QStringLiteral("a.chm");
    QTest::newRow("contents") << QByteArray("Contents file=toc.hhc") << QByteArray("contentsFile")
                              << QStringLiteral("toc.hhc");
    QTest::newRow("index") << QByteArray("Index file=\"idx.hhk\"") << QByteArray("indexFile")
                           << QStringLiteral("idx.hhk");
    QTest::newRow("title keeps its quotes")
        << QByteArray("Title=\"Q\"") << QByteArray("title") << QStringLiteral("\"Q\"");
    QTest::newRow("value holds =") << QByteArray("Title=a=b") << QByteArray("title") << QStringLiteral("a=b");
    QTest::newRow("font") << QByteArray("Default Font=宋体,9,134") << QByteArray("defaultFont")
                          << QStringLiteral("宋体,9,134");
    QTest::newRow("last one wins") << QByteArray("Title=a\nTitle=b\n[FILES]\nx\n[OPTIONS]\ntitle=c")
                                   << QByteArray("title") << QStringLiteral("c");
}

void TestHhpReader::options() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, member);
    QFETCH(QString, expected);
    QCOMPARE(option(readBytes("[OPTIONS]\r\n" + text + "\r\n"), member), expected);
}

void TestHhpReader::language_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected"); // -1: none
    QTest::addColumn<int>("notices");

    QTest::newRow("hex and name") << QByteArray("0x804 中文(中国)") << 0x804 << 0;
    QTest::newRow("leading zero") << QByteArray("0x0409 English (United States)") << 0x409 << 0;
    QTest::newRow("decimal") << QByteArray("1041") << 0x411 << 0;
    QTest::newRow("no number") << QByteArray("Chinese") << -1 << 1;
    QTest::newRow("empty") << QByteArray() << -1 << 0;
}

void TestHhpReader::language() {
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    QFETCH(int, notices);
    const HhpProject p = readBytes("[OPTIONS]\nLanguage=" + value);
    QCOMPARE(p.language ? static_cast<int>(*p.language) : -1, expected);
    QCOMPARE(p.notices.size(), static_cast<std::size_t>(notices));
}

// A file that is not UTF-8 is read in the code page of its own language, wherever it is read.
void TestHhpReader::codePageOfItsLanguage_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("systemCodePage");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("textCodePage");
    const QByteArray gbkTitle = "Title=\xD6\xD0\xCE\xC4\r\n"; // 中文
    const QByteArray russianTitle = "Title=\xCC\xE8\xF0\r\n"; // Мир in 1251
    QTest::newRow("GBK, Chinese language, Western system")
        << QByteArray("[OPTIONS]\r\n" + gbkTitle + "Language=0x804 \xD6\xD0\xCE\xC4\r\n") << 1252
        << QStringLiteral("中文") << 936;
    QTest::newRow("1251, Russian language, Chinese system")
        << QByteArray("[OPTIONS]\r\nLanguage=0x419\r\n" + russianTitle) << 936 << QStringLiteral("Мир") << 1251;
    QTest::newRow("no language: the system's")
        << QByteArray("[OPTIONS]\r\n" + gbkTitle) << 936 << QStringLiteral("中文") << 936;
    QTest::newRow("UTF-8 whatever the language")
        << QByteArray("[OPTIONS]\r\nLanguage=0x419\r\nTitle=中文\r\n") << 1252 << QStringLiteral("中文") << 1251;
    QTest::newRow("UTF-16 with its mark")
        << QByteArray("\xFF\xFE[\0O\0P\0T\0I\0O\0N\0S\0]\0\n\0T\0i\0t\0l\0e\0=\0-N\x87\x65", 38) << 1252
        << QStringLiteral("中文") << 1252;
}

void TestHhpReader::codePageOfItsLanguage() {
    QFETCH(QByteArray, text);
    QFETCH(int, systemCodePage);
    const HhpProject p = HhpReader::readFile(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                                             static_cast<std::uint32_t>(systemCodePage));
    QTEST(QString::fromStdString(p.title), "title");
    QTEST(static_cast<int>(p.textCodePage), "textCodePage");
}

void TestHhpReader::fullTextSearch_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<int>("notices");

    QTest::newRow("Yes") << QByteArray("Yes") << true << 0;
    QTest::newRow("yes") << QByteArray("yes") << true << 0;
    QTest::newRow("1") << QByteArray("1") << true << 0;
    QTest::newRow("NO") << QByteArray("NO") << false << 0;
    QTest::newRow("0") << QByteArray("0") << false << 0;
    QTest::newRow("unreadable") << QByteArray("maybe") << false << 1;
}

void TestHhpReader::fullTextSearch() {
    QFETCH(QByteArray, value);
    QFETCH(bool, expected);
    QFETCH(int, notices);
    const HhpProject p = readBytes("[OPTIONS]\nFull-text search=Yes\nfull-TEXT search = " + value);
    QCOMPARE(p.fullTextSearch, expected);
    QCOMPARE(p.notices.size(), static_cast<std::size_t>(notices));
}

void TestHhpReader::windowFields_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("caption with quotes and comma")
        << QByteArray("\"T,\"x\"\",\"a.hhc\"") << QStringList{QStringLiteral("T,\"x\""), QStringLiteral("a.hhc")};
    QTest::newRow("blanks between fields")
        << QByteArray(" \"a\" , \"b\" ,c , ")
        << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QString()};
    QTest::newRow("rectangle is one field")
        << QByteArray(",[1, 2,3,4] ,5") << QStringList{QString(), QStringLiteral("[1, 2,3,4]"), QStringLiteral("5")};
    QTest::newRow("rectangle never closed")
        << QByteArray("[1,2") << QStringList{QStringLiteral("[1"), QStringLiteral("2")};
    QTest::newRow("quote never closed") << QByteArray("\"a,b ") << QStringList{QStringLiteral("a,b")};
    QTest::newRow("quote closing at the end")
        << QByteArray("x,\"a\"\"  ") << QStringList{QStringLiteral("x"), QStringLiteral("a\"")};
    QTest::newRow("nothing") << QByteArray("  ") << QStringList();
}

void TestHhpReader::windowFields() {
    QFETCH(QByteArray, value);
    QFETCH(QStringList, fields);
    const HhpProject p = readBytes("[WINDOWS]\r\n main =" + value + "\r\n");
    QCOMPARE(p.windows.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(p.windows[0].name), QStringLiteral("main"));
    QCOMPARE(toList(p.windows[0].fields), fields);
}

void TestHhpReader::files_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("CR LF, LF and lone CR") << QByteArray("a.htm\r\nb.htm\nc.htm\rd.htm")
                                           << QStringList{QStringLiteral("a.htm"), QStringLiteral("b.htm"),
                                                          QStringLiteral("c.htm"), QStringLiteral("d.htm")};
    QTest::newRow("trailing blanks go, leading stay")
        << QByteArray("a.htm \t\r\n  b.htm\r\n") << QStringList{QStringLiteral("a.htm"), QStringLiteral("  b.htm")};
    QTest::newRow("blank and comment lines")
        << QByteArray("\r\n ; note\r\n \t\r\nx\\y.htm\r\n") << QStringList{QStringLiteral("x\\y.htm")};
    QTest::newRow("brackets in a name") << QByteArray("[draft] a.htm\r\n")
                                        << QStringList{QStringLiteral("[draft] a.htm")};
    QTest::newRow("next section ends the list")
        << QByteArray("a.htm\r\n[ alias ]\r\nb.htm\r\n") << QStringList{QStringLiteral("a.htm")};
}

void TestHhpReader::files() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, files);
    QCOMPARE(toList(readBytes("[files]\r\n" + text).files), files);
}

void TestHhpReader::contextSectionsKeepTheirLines() {
    const HhpProject p = readBytes("[ALIAS]\n A = a.htm \n;c\n[MAP]\n#include x.h\n[Alias]\nC=c.htm\n[OPTIONS]\n"
                                   "Binary TOC=Yes\nBinary Index=1");
    QStringList aliases;
    for (const HhpLine& line : p.aliases)
        aliases << QString::fromStdString(line.text) + u'@' + QString::number(line.number);
    QCOMPARE(aliases, (QStringList{QStringLiteral("A = a.htm@2"), QStringLiteral("C=c.htm@7")}));
    QCOMPARE(p.map.size(), std::size_t{1});
    QCOMPARE(p.map[0].text, std::string("#include x.h"));
    QVERIFY(p.binaryToc && p.binaryIndex && p.notices.empty());
}

void TestHhpReader::notices_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("notices");

    QTest::newRow("harmless options") << QByteArray("[OPTIONS]\nCITATION=x\nCOPYRIGHT=y\nTmpdir=C:\\t\nDisplay "
                                                    "compile progress=No\nCompatibility=1.1")
                                      << QStringList();
    QTest::newRow("option asking for what we leave out")
        << QByteArray("[OPTIONS]\ncreate chi file=Yes\nAuto TOC=3\nPrefix=C:\\src")
        << QStringList{QStringLiteral("忽略选项 Create CHI file"), QStringLiteral("忽略选项 Auto TOC"),
                       QStringLiteral("忽略选项 Prefix")};
    QTest::newRow("option turned off") << QByteArray("[OPTIONS]\nBinary TOC=No\nAuto Index=0\nPrefix=")
                                       << QStringList();
    QTest::newRow("unknown option") << QByteArray("[OPTIONS]\nFrobnicate=1")
                                    << QStringList{QStringLiteral("忽略未知选项 Frobnicate")};
    QTest::newRow("long unknown option cut") << QByteArray("[OPTIONS]\n" + QByteArray(60, 'k') + "中=1")
                                             << QStringList{QStringLiteral("忽略未知选项 ") + QString(60, u'k') + u'…'};
    QTest::newRow("no equals sign") << QByteArray("[OPTIONS]\r\nTitle=a\r\njust words\r\n=x")
                                    << QStringList{QStringLiteral("忽略第 3 行（不是“选项=值”）"),
                                                   QStringLiteral("忽略第 4 行（不是“选项=值”）")};
    QTest::newRow("window without name") << QByteArray("[WINDOWS]\n\nplain")
                                         << QStringList{QStringLiteral("忽略第 3 行（不是“窗口名=定义”）")};
    QTest::newRow("one notice per section, counted over repeats")
        << QByteArray("[INFOTYPES]\nA=a\n;c\n\nB=b\n[TEXT POPUPS]\nx.txt\n[InfoTypes]\nC=c\n[SUBSETS]\n")
        << QStringList{QStringLiteral("忽略 [INFOTYPES] 中的 3 项"), QStringLiteral("忽略 [TEXT POPUPS] 中的 1 项")};
    QTest::newRow("empty merge files") << QByteArray("[MERGE FILES]\r\n\r\n") << QStringList();
    QTest::newRow("unknown section") << QByteArray("[Mine]\nx") << QStringList{QStringLiteral("忽略 [Mine] 中的 1 项")};
    QTest::newRow("lines before any section")
        << QByteArray("stray\nline\n; comment\n[FILES]\na.htm") << QStringList{QStringLiteral("忽略第一节之前的 2 行")};
}

void TestHhpReader::notices() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, notices);
    QCOMPARE(toList(readBytes(text).notices), notices);
}

void TestHhpReader::garbageKeepsLinesApart() {
    std::mt19937 random(7);
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += static_cast<char>(random() % 256);
    const QList<QByteArray> inputs{
        "[FILES]\n" + bytes,
        "[WINDOWS]\nw=" + bytes,
        "[OPTIONS]\n" + QByteArray(100000, '[') + "\nTitle=" + QByteArray(100000, '"'),
    };
    for (const QByteArray& input : inputs) {
        const HhpProject p = readBytes(input);
        for (const std::string& file : p.files) {
            QVERIFY(!file.empty());
            QVERIFY(file.find_first_of("\r\n") == std::string::npos);
        }
        for (const HhpWindow& window : p.windows) {
            for (const std::string& field : window.fields)
                QVERIFY(field.find_first_of("\r\n") == std::string::npos);
        }
    }
}

QTEST_APPLESS_MAIN(TestHhpReader)
#include "tst_hhpreader.moc"
