#include "project/ContentsFileReader.h"
#include "project/ProjectOpening.h"
#include "project/ProjectText.h"
#include "util/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {

// "text > local" for each entry, "text" alone when it has no target.
QStringList entries(const QList<ContentsItem>& items) {
    QStringList out;
    for (const ContentsItem& item : items)
        out.append(item.hasLocal ? item.text + QStringLiteral(" > ") + item.local : item.text);
    return out;
}

// Written by the Windows help workshop: upper-case tags, its own header, "<LI> <OBJECT",
// depth only in the nesting.
const char* const kWorkshopContents =
    "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
    "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">\r\n"
    "<!-- Sitemap 1.0 -->\r\n</HEAD><BODY>\r\n"
    "<OBJECT type=\"text/site properties\">\r\n\t<param name=\"ImageType\" value=\"Folder\">\r\n</OBJECT>\r\n"
    "<UL>\r\n"
    "\t<LI> <OBJECT type=\"text/sitemap\">\r\n\t\t<param name=\"Name\" value=\"Welcome\">\r\n"
    "\t\t<param name=\"Local\" value=\"index.htm\">\r\n\t\t</OBJECT>\r\n"
    "\t<LI> <OBJECT type=\"text/sitemap\">\r\n\t\t<param name=\"Name\" value=\"Guide\">\r\n\t\t</OBJECT>\r\n"
    "\t<UL>\r\n"
    "\t\t<LI> <OBJECT type=\"text/sitemap\">\r\n\t\t\t<param name=\"Name\" value=\"Say &quot;hi&quot; &amp; go\">\r\n"
    "\t\t\t<param name=\"Local\" value=\"guide\\intro.htm#top\">\r\n"
    "\t\t\t<param name=\"ImageNumber\" value=\"11\">\r\n\t\t\t</OBJECT>\r\n"
    "\t\t<UL>\r\n"
    "\t\t\t<LI> <OBJECT type=\"text/sitemap\">\r\n\t\t\t\t<param name=\"Name\" value=\"Deep\">\r\n"
    "\t\t\t\t<param name=\"Local\" value=\"guide/deep.htm\">\r\n\t\t\t\t</OBJECT>\r\n"
    "\t\t</UL>\r\n"
    "\t</UL>\r\n"
    "\t<LI> <OBJECT type=\"text/sitemap\">\r\n\t\t<param name=\"Name\" value=\"Web\">\r\n"
    "\t\t<param name=\"Local\" value=\"http://example.org/\">\r\n\t\t</OBJECT>\r\n"
    "</UL>\r\n</BODY></HTML>\r\n";

// Lower case, attributes in another order (quoted either way), single quotes and none, no </LI> and no </OBJECT>,
// a comment holding tags, an object without a name, a second Name and Local (merged entries).
const char* const kGeneratorContents =
    "<html><head><meta name=generator content='Other Tool 2.0'></head><body>\n"
    "<!-- <ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"hidden\"></object> -->\n"
    "<ul><li><object type='text/sitemap'><param value='a.htm' name='local'><param name=name value=Alpha>\n"
    "<param name=\"Name\" value=\"Alpha again\"><param name=\"Local\" value=\"other.htm\">\n"
    "<ul><li><object type=\"TEXT/SITEMAP\"><PARAM NAME=\"NAME\" VALUE=\"  Beta\"><param value=\"b.htm\" "
    "name=\"Local\">\n"
    "<li><object type=\"text/sitemap\"><param name=\"Merge\" value=\"more.chm::/more.hhc\"></object>\n"
    "</ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"Gamma\"></object>\n"
    "</ul></body></html>";

} // namespace

class TestProjectReading : public QObject {
    Q_OBJECT
private slots:
    void foreignContentsFiles_data();
    void foreignContentsFiles();
    void codePages();
    void foreignProjectFile();
};

void TestProjectReading::foreignContentsFiles_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("help workshop") << QString::fromLatin1(kWorkshopContents)
                                   << QStringList{QStringLiteral("Welcome > index.htm"), QStringLiteral("Guide"),
                                                  QStringLiteral(" Say \"hi\" &amp; go > guide\\intro.htm#top"),
                                                  QStringLiteral("  Deep > guide/deep.htm"),
                                                  QStringLiteral("Web > http://example.org/")};
    QTest::newRow("other generator") << QString::fromLatin1(kGeneratorContents)
                                     << QStringList{QStringLiteral("Alpha > a.htm"), QStringLiteral("  Beta > b.htm"),
                                                    QStringLiteral("Gamma")};
}

void TestProjectReading::foreignContentsFiles() {
    QFETCH(QString, text);
    QTEST(entries(readContentsFile(text)), "entries");
}

void TestProjectReading::codePages() {
    const QString chinese = QStringLiteral("第一章 概述");
    const QByteArray contents = "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">"
                                "<param name=\"Local\" value=\"%1.htm\"></OBJECT></UL>";
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", "zh_CN.UTF-8");
    QStringEncoder gbk("GBK");
    const QByteArray gbkBytes = QByteArray(contents).replace("%1", QByteArray(gbk(chinese)));
    QCOMPARE(entries(readContentsFile(decodeProjectText(gbkBytes))),
             QStringList{chinese + QStringLiteral(" > ") + chinese + QStringLiteral(".htm")});
    // UTF-8 wins where the bytes are UTF-8, with or without a byte-order mark.
    QCOMPARE(decodeProjectText(chinese.toUtf8()), chinese);
    QCOMPARE(decodeProjectText("\xEF\xBB\xBF" + chinese.toUtf8()), chinese);
    // A locale without a language reads the Western code page.
    qputenv("LC_ALL", "C");
    QCOMPARE(decodeProjectText("caf\xE9 \x80"), QStringLiteral("café €"));
    qputenv("LC_ALL", saved);
}

void TestProjectReading::foreignProjectFile() {
    // Keys and sections in any case, comments, files named relative with "\", an unquoted
    // output, the navigation pane of the default window, whose caption holds commas and quotes.
    QTemporaryDir tmp;
    const QString root = tmp.path();
    QVERIFY(QDir(root).mkpath(QStringLiteral("sub")));
    const QList<std::pair<QString, QByteArray>> files = {
        {QStringLiteral("a.htm"), {}},
        {QStringLiteral("sub/b.htm"), {}},
        {QStringLiteral("toc.hhc"), "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\">"
                                    "<param name=\"Local\" value=\"sub\\b.htm\"></OBJECT></UL>"},
        {QStringLiteral("p.hhp"),
         "; made elsewhere\r\n[options]\r\ncompiled file = out\\help.chm\r\nCONTENTS FILE=toc.hhc\r\n"
         "Default Window=main\r\n[Windows]\r\nother=\"x\",,,,,,,,,,,,,,,,1\r\n"
         "main=\"A, \"B\" C\",\"toc.hhc\",,\"a.htm\",,,,,,0x2520,,0x3006,[1,2,3,4],,,,0,,,0\r\n"
         "[ALIAS]\r\nX=1\r\n[files]\r\na.htm\r\nsub\\b.htm\r\n\r\ngone.htm\r\n"},
    };
    for (const auto& [name, bytes] : files) {
        QFile file(root + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const OpenedProject opened = openProjectFile(root + QStringLiteral("/p.hhp"));
    QCOMPARE(opened.folder, root);
    QCOMPARE(opened.fileList.size(), 2);
    QCOMPARE(opened.fileList[1].text, QDir::toNativeSeparators(root + QStringLiteral("/sub/b.htm")));
    QCOMPARE(opened.toc.size(), 1);
    QCOMPARE(opened.toc[0].itemData, 1);
    QCOMPARE(opened.leftOut, QStringList{QDir::toNativeSeparators(root + QStringLiteral("/gone.htm"))});
    QCOMPARE(opened.settings.outputFile, QDir::toNativeSeparators(root + QStringLiteral("/out/help.chm")));
    QVERIFY(!opened.settings.navigationClosed);
}

QTEST_GUILESS_MAIN(TestProjectReading)
#include "tst_projectreading.moc"
