#include "app/FmCHM.h"
#include "formats/CharacterReferences.h"
#include "formats/ProjectSections.h"
#include "formats/SitemapScanner.h"
#include "formats/SitemapWriter.h"
#include "host/ProjectInfo.h"
#include "project/FmOption.h"
#include "project/HhcWriter.h"
#include "project/HhpWriter.h"
#include "support/ScriptedHost.h"
#include "toc/ListBox.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace folvane;

namespace {

// Every line followed by CR LF.
QByteArray lines(std::initializer_list<QByteArray> items) {
    QByteArray out;
    for (const QByteArray& line : items)
        out += line + "\r\n";
    return out;
}

QByteArray withHome(QByteArray text) {
    return text.replace("{home}", ProjectInfo::homeAddress().toUtf8());
}

// The contents file around its entry lines.
QByteArray contentsFile(const QByteArray& entryLines) {
    const QByteArray head = lines({
        R"(<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">)",
        R"(<HTML>)",
        R"(<HEAD>)",
        R"(<meta name="GENERATOR" content="Folvane.exe  {home}">)",
        R"(<!-- Sitemap 1.0 -->)",
        R"(</HEAD><BODY>)",
        R"(<BASE HREF="\">)",
        R"(<OBJECT type="text/site properties">)",
        R"(    <param name="ExWindow Styles" value="0x200">)",
        R"(  <param name="Window Styles" value="0x800025">)",
        R"( <param name="Font" value="宋体,9,0">)",
        R"(</OBJECT>)",
        R"(<OBJECT type="text/site properties"><param name="Foreground" value="0xa54a00"></OBJECT>)",
        R"(<UL>)",
    });
    return withHome(head + entryLines + "</UL>\r\n</BODY></HTML>");
}

QByteArray book(const QByteArray& tabs, const QByteArray& name) {
    return tabs + R"(<LI><OBJECT type="text/sitemap"><param name="Name" value=")" + name +
           R"("><param name="ImageNumber" value="1"></OBJECT></LI>)";
}

// The entry lines of the worked example: Intro, Part (book), " Sec", End.
QByteArray workedExampleEntries() {
    return lines({
        R"(<LI><OBJECT type="text/sitemap">)",
        "\t"
        R"(  <param name="Name" value="Intro">)",
        "\t"
        R"(  <param name="Local" value="a.htm">)",
        R"(    </OBJECT>)",
        R"(</LI>)",
        book("", "Part"),
        R"(<UL>)",
        "\t"
        R"(<LI><OBJECT type="text/sitemap">)",
        "\t\t"
        R"(  <param name="Name" value=" Sec">)",
        "\t\t"
        R"(  <param name="Local" value="sub/b.htm">)",
        "\t"
        R"(    </OBJECT>)",
        "\t"
        R"(</LI>)",
        R"(</UL>)",
        R"(<LI><OBJECT type="text/sitemap">)",
        "\t"
        R"(  <param name="Name" value="End">)",
        "\t"
        R"(  <param name="Local" value="c.htm">)",
        R"(    </OBJECT>)",
        R"(</LI>)",
    });
}

// A project folder in a temporary directory, Posix paths, the clock at 2026-12-06 07:05:09.
struct OpenProject {
    QTemporaryDir dir;
    ScriptedHost host;
    FmCHM main{host, PathStyle::Posix};

    OpenProject() {
        host.setNow(QDateTime(QDate(2026, 12, 6), QTime(7, 5, 9)));
        main.project().setComparePath(dir.path());
    }
    QString path(const QString& relative) const { return dir.filePath(relative); }
    void addFile(const QString& text, qint32 marker = 0) {
        QList<ListEntry> files = main.LF.entries();
        files.append({text, marker, false});
        main.project().restore(std::move(files), main.LB().entries());
    }
    void addEntry(const QString& text, qint32 link) {
        main.LB().addItem(text);
        main.LB().setItemData(main.LB().count() - 1, link);
    }
    void workedExample() {
        addFile(path(QStringLiteral("a.htm")));
        addFile(path(QStringLiteral("sub/b.htm")));
        addFile(path(QStringLiteral("c.htm")));
        addEntry(QStringLiteral("Intro"), 0);
        addEntry(QStringLiteral("Part"), -1);
        addEntry(QStringLiteral(" Sec"), 1);
        addEntry(QStringLiteral("End"), 2);
    }
    QByteArray read(const QString& name) const {
        QFile f(path(name));
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        return f.readAll();
    }
    QByteArray hhp() const { return read(QStringLiteral("HH_KVEL.hhp")); }
    QByteArray hhc() const { return read(QStringLiteral("HH_KVEL.hhc")); }
    QByteArray withDir(QByteArray text) const { return text.replace("{dir}", dir.path().toUtf8()); }
    // The [FILES] lines of the project file.
    QByteArray filesSection() const {
        const QByteArray text = hhp();
        const qsizetype at = text.indexOf("[FILES]\r\n");
        return at < 0 ? QByteArray("<missing>") : text.mid(at + 9);
    }
};

} // namespace

class TestProjectFiles : public QObject {
    Q_OBJECT
private slots:
    void workedExample();
    void workedExampleWindowsStyle();
    void defaultsWithEmptyListsAndSettingsNeverOpened();
    void levels_data();
    void levels();
    void booksFromFolderNodesAndFolderEntries();
    void textsWrittenAsTheyStandButQuotes();
    void formatWritersReadBack();
    void loneSurrogateFailsTheSave();
    void linksFollowDeletedFiles();
    void navigationPaneField_data();
    void navigationPaneField();
    void windowName_data();
    void windowName();
    void projectFilePaths();
};

void TestProjectFiles::workedExample() {
    OpenProject p;
    p.workedExample();
    FmOption& options = p.main.fmOption();
    options.setChmTt(QStringLiteral("Help"));
    options.setCo1Text(QStringLiteral("a.htm"));

    p.main.SaveIt();

    QVERIFY(p.host.prompts().isEmpty());
    QCOMPARE(p.hhc(), contentsFile(workedExampleEntries()));
    const QByteArray hhp = lines({
        "[OPTIONS]",
        "CITATION=Made by kq",
        "Compatibility=1.1 or later",
        R"(Compiled file="{dir}/Help.chm")",
        "Contents file=HH_KVEL.hhc",
        "Default topic=a.htm",
        "Default Window=Folvane_261206_070509",
        "Display compile notes=Yes",
        "Display compile progress=Yes",
        "Full-text search=Yes",
        "Title=Help",
        "[WINDOWS]",
        R"(Folvane_261206_070509="Help","HH_KVEL.hhc",,"a.htm","a.htm","{home}","My HomePage",,,)"
        R"(0x42560,198,0x4304E,[0,0,810,583],,,,1,,,0)",
        "[MERGE FILES]",
        "",
        "[FILES]",
        "{dir}/a.htm",
        "{dir}/sub/b.htm",
        "{dir}/c.htm",
    });
    QCOMPARE(p.hhp(), p.withDir(withHome(hhp)));
}

void TestProjectFiles::workedExampleWindowsStyle() {
    ListBox files;
    for (const QString& s :
         {QStringLiteral("C:\\site\\a.htm"), QStringLiteral("C:\\site\\sub\\b.htm"), QStringLiteral("C:\\site\\c.htm")})
        files.addItem(s);
    ListBox toc;
    const QList<QPair<QString, int>> entries = {{QStringLiteral("Intro"), 0},
                                                {QStringLiteral("Part"), -1},
                                                {QStringLiteral(" Sec"), 1},
                                                {QStringLiteral("End"), 2}};
    for (const auto& [text, link] : entries) {
        toc.addItem(text);
        toc.setItemData(toc.count() - 1, link);
    }
    const FolderTest siteIsFolder = [](const QString& path) { return path == QStringLiteral("C:\\site"); };
    const QString text = buildContentsFile(toc, files, QStringLiteral("C:\\site"), PathStyle::Windows, siteIsFolder);
    QCOMPARE(text.toUtf8(), contentsFile(workedExampleEntries()));
}

void TestProjectFiles::defaultsWithEmptyListsAndSettingsNeverOpened() {
    OpenProject p;
    QVERIFY(!p.main.loadedFmOption());
    p.main.SaveIt();
    QVERIFY(p.host.prompts().isEmpty());
    QCOMPARE(p.hhc(), contentsFile(QByteArray()));
    const QByteArray hhp = lines({
        "[OPTIONS]",
        "CITATION=Made by kq",
        "Compatibility=1.1 or later",
        R"(Compiled file="")",
        "Contents file=HH_KVEL.hhc",
        "Default topic=",
        "Default Window=Folvane_261206_070509",
        "Display compile notes=Yes",
        "Display compile progress=Yes",
        "Full-text search=Yes",
        "Title=",
        "[WINDOWS]",
        R"(Folvane_261206_070509="","HH_KVEL.hhc",,"","","{home}","My HomePage",,,)"
        R"(0x42560,198,0x4304E,[0,0,810,583],,,,1,,,0)",
        "[MERGE FILES]",
        "",
        "[FILES]",
    });
    QCOMPARE(p.hhp(), withHome(hhp));
}

void TestProjectFiles::levels_data() {
    QTest::addColumn<QStringList>("entries"); // all books except "t", which is a topic
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("unbalanced 0, 2, 0") << QStringList{QStringLiteral("A"), QStringLiteral("  B"), QStringLiteral("C")}
                                        << lines({book("", "A"), "<UL>", book("\t\t", "  B"), "\t</UL>", "</UL>",
                                                  book("", "C")});
    QTest::newRow("only entry at level 2") << QStringList{QStringLiteral("  t")}
                                           << lines({
                                                  "\t\t"
                                                  R"(<LI><OBJECT type="text/sitemap">)",
                                                  "\t\t\t"
                                                  R"(  <param name="Name" value="  t">)",
                                                  "\t\t\t"
                                                  R"(  <param name="Local" value="t.htm">)",
                                                  "\t\t"
                                                  R"(    </OBJECT>)",
                                                  "\t\t"
                                                  R"(</LI>)",
                                                  "\t</UL>",
                                                  "</UL>",
                                              });
    QTest::newRow("last entry at level 3")
        << QStringList{QStringLiteral("A"), QStringLiteral(" B"), QStringLiteral("  C"), QStringLiteral("   D")}
        << lines({book("", "A"), "<UL>", book("\t", " B"), "\t<UL>", book("\t\t", "  C"), "\t\t<UL>",
                  book("\t\t\t", "   D"), "\t\t</UL>", "\t</UL>", "</UL>"});
    QTest::newRow("one list opened for a jump of three")
        << QStringList{QStringLiteral("A"), QStringLiteral("   B"), QStringLiteral(" C")}
        << lines({book("", "A"), "<UL>", book("\t\t\t", "   B"), "\t\t</UL>", "\t</UL>", book("\t", " C"), "</UL>"});
}

void TestProjectFiles::levels() {
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, expected);
    OpenProject p;
    p.addFile(p.path(QStringLiteral("t.htm")));
    for (const QString& text : entries)
        p.addEntry(text, text.trimmed() == QStringLiteral("t") ? 0 : -1);
    p.main.SaveIt();
    QVERIFY(p.host.prompts().isEmpty());
    QCOMPARE(p.hhc(), contentsFile(expected));
}

void TestProjectFiles::booksFromFolderNodesAndFolderEntries() {
    OpenProject p;
    p.addFile(p.path(QStringLiteral("a.htm")));
    p.addFile(QStringLiteral("sub"), 1);
    p.addFile(p.path(QStringLiteral("sub/b.htm")), -2);
    p.addFile(QStringLiteral("sub/deep"), 2);
    p.addFile(p.path(QStringLiteral("z.htm")));
    p.addEntry(QStringLiteral("Node"), -1);
    p.addEntry(QStringLiteral(" sub"), 1);
    p.addEntry(QStringLiteral("  b"), 2);
    p.addEntry(QStringLiteral("  deep"), 3);
    p.main.SaveIt();

    QVERIFY(p.host.prompts().isEmpty());
    const QByteArray entries = lines({
        book("", "Node"),
        "<UL>",
        book("\t", " sub"),
        "\t<UL>",
        "\t\t"
        R"(<LI><OBJECT type="text/sitemap">)",
        "\t\t\t"
        R"(  <param name="Name" value="  b">)",
        "\t\t\t"
        R"(  <param name="Local" value="sub/b.htm">)",
        "\t\t"
        R"(    </OBJECT>)",
        "\t\t"
        R"(</LI>)",
        book("\t\t", "  deep"),
        "\t</UL>",
        "</UL>",
    });
    QCOMPARE(p.hhc(), contentsFile(entries));
    // Folder entries stay out of [FILES]; marked files (negative) are files.
    QCOMPARE(p.filesSection(), p.withDir(lines({"{dir}/a.htm", "{dir}/sub/b.htm", "{dir}/z.htm"})));
}

void TestProjectFiles::textsWrittenAsTheyStandButQuotes() {
    OpenProject p;
    p.addFile(p.path(QStringLiteral(R"(a&b "q" <c>.htm)")));
    p.addEntry(QStringLiteral(R"(Say "hi" & <b>)"), 0);
    p.addEntry(QStringLiteral(R"( <i>&amp;")"), -1);
    FmOption& options = p.main.fmOption();
    options.setChmTt(QStringLiteral(R"(T,"x")"));
    options.setChmFN(QStringLiteral("out.chm"));
    options.setCo1Text(QStringLiteral("a&b <c>.htm"));
    p.main.SaveIt();

    QVERIFY(p.host.prompts().isEmpty());
    const QByteArray entries = lines({
        R"(<LI><OBJECT type="text/sitemap">)",
        "\t"
        R"(  <param name="Name" value="Say &quot;hi&quot; & <b>">)",
        "\t"
        R"(  <param name="Local" value="a&b &quot;q&quot; <c>.htm">)",
        R"(    </OBJECT>)",
        R"(</LI>)",
        "<UL>",
        book("\t", R"( <i>&amp;&quot;)"),
        "</UL>",
    });
    QCOMPARE(p.hhc(), contentsFile(entries));
    const QByteArray hhp = p.hhp();
    QVERIFY(hhp.contains("\r\nCompiled file=\"out.chm\"\r\n"));
    QVERIFY(hhp.contains("\r\nDefault topic=a&b <c>.htm\r\n"));
    QVERIFY(hhp.contains("\r\nTitle=T,\"x\"\r\n"));
    QVERIFY(hhp.contains(R"(Folvane_261206_070509="T,"x"","HH_KVEL.hhc",,"a&b <c>.htm","a&b <c>.htm",)"));
}

// Quotes, references and Chinese come back from the formats' readers as they were written.
void TestProjectFiles::formatWritersReadBack() {
    using namespace formats;
    const std::string name = "引号\"x\" &amp; &#20013; #1";
    const std::string target = "子目录/a \"b\" & c.htm";
    ProjectFileParts project;
    project.options = {{"Title", name}};
    project.windows = {{"w", {}}};
    project.windows[0].set(WindowField::Caption, name);
    project.windows[0].set(WindowField::NavigationWidth, "198");
    project.sections = {{"MERGE FILES", {""}}};
    project.files = {target};
    const std::string hhp = project.text();
    std::map<std::string, std::vector<std::string>> lines;
    for (const ProjectSection& section : readProjectSections(hhp).sections) {
        for (const ProjectLine& line : section.lines)
            lines[std::string(section.name)].emplace_back(line.text);
    }
    QCOMPARE(lines["OPTIONS"], std::vector<std::string>{"Title=" + name});
    QCOMPARE(lines["FILES"], std::vector<std::string>{target});
    const std::vector<std::string> fields = splitWindowFields(projectEntry(lines["WINDOWS"].at(0))->value);
    QCOMPARE(fields.size(), kWindowFieldCount);
    QCOMPARE(windowField(fields, WindowField::Caption), name);
    QCOMPARE(windowField(fields, WindowField::NavigationWidth), std::string("198"));

    SitemapWriter contents("test", 3);
    contents.addBook(0, name);
    contents.addTopic(1, name, target);
    contents.addTopic(0, "末", "c.htm");
    const std::string hhc = contents.finish();
    std::vector<std::string> entries; // depth, then each param
    for (const SitemapRawObject& object : scanSitemap(hhc)) {
        if (object.type != "text/sitemap")
            continue;
        entries.push_back(std::to_string(object.depth));
        for (const SitemapRawParam& p : object.params) {
            QCOMPARE(p.value.find('"'), std::string_view::npos); // viewers end a value at its first quote
            const auto rule = p.name == "Local" ? ReferenceRule::WrittenPath : ReferenceRule::WrittenName;
            entries.back() += '|' + std::string(p.name) + '=' + decodeCharacterReferences(p.value, rule);
        }
    }
    QCOMPARE(entries, (std::vector<std::string>{"1|Name=" + name + "|ImageNumber=1",
                                                "2|Name=" + name + "|Local=" + target, "1|Name=末|Local=c.htm"}));
}

// No file can hold half a surrogate pair: the save says so rather than write a substitute.
void TestProjectFiles::loneSurrogateFailsTheSave() {
    OpenProject p;
    p.addFile(p.path(QStringLiteral("a.htm")));
    p.addEntry(QStringLiteral("半") + QChar(0xD800), 0);
    QVERIFY(!p.main.SaveIt());
    QCOMPARE(p.host.messageTexts().size(), 1);
    QCOMPARE(p.hhc(), QByteArray("<missing>"));
}

void TestProjectFiles::linksFollowDeletedFiles() {
    OpenProject p;
    for (const char* name : {"a.htm", "sub/b.htm", "sub/c.htm", "d.htm"})
        p.addFile(p.path(QString::fromLatin1(name)));
    p.main.FoldIt_Click(); // the folder entry "sub" comes into the file list before its pages
    const auto pages = [&p] {
        QStringList out;
        for (const ListEntry& e : p.main.LB().entries())
            out.append(e.itemData == -1 ? QStringLiteral("-") : p.main.LF.text(e.itemData));
        return out;
    };
    QStringList expected = pages();
    QCOMPARE(expected.size(), 5);

    // Both ends and the middle: the first page, a page inside the folder.
    for (int i = 0; i < p.main.LF.count(); ++i)
        p.main.project().selectableLF().setSelected(i, p.main.LF.text(i).endsWith(u"a.htm") ||
                                                           p.main.LF.text(i).endsWith(u"b.htm"));
    int key = 46;
    p.main.LF_KeyDown(key, 0);
    expected.replace(expected.indexOf(p.path(QStringLiteral("a.htm"))), QStringLiteral("-"));
    expected.replace(expected.indexOf(p.path(QStringLiteral("sub/b.htm"))), QStringLiteral("-"));
    QCOMPARE(pages(), expected);

    // Adding puts new files first and drops the old entry of a file added again.
    p.main.LF_OLEDragDrop({p.path(QStringLiteral("e.htm")), p.path(QStringLiteral("d.htm"))});
    QCOMPARE(pages(), expected);

    QVERIFY(p.main.SaveIt());
    QVERIFY(p.host.prompts().isEmpty());
    const QByteArray hhc = p.hhc();
    QVERIFY(hhc.contains(R"("Local" value="sub/c.htm")") && hhc.contains(R"("Local" value="d.htm")"));
    QVERIFY(!hhc.contains(R"("Local" value="a.htm")") && !hhc.contains(R"("Local" value="sub/b.htm")"));
    QCOMPARE(p.filesSection(), p.withDir(lines({"{dir}/e.htm", "{dir}/d.htm", "{dir}/sub/c.htm"})));
}

void TestProjectFiles::navigationPaneField_data() {
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QByteArray>("tail");
    QTest::newRow("Ch1 checked") << true << QByteArray(",,,0x42560,198,0x4304E,[0,0,810,583],,,,1,,,0\r\n");
    QTest::newRow("Ch1 unchecked") << false << QByteArray(",,,0x42560,198,0x4304E,[0,0,810,583],,,,0,,,0\r\n");
}

void TestProjectFiles::navigationPaneField() {
    QFETCH(bool, checked);
    QFETCH(QByteArray, tail);
    OpenProject p;
    p.main.fmOption().setCh1(checked);
    p.main.SaveIt();
    QVERIFY(p.hhp().contains(QByteArray(R"("My HomePage")" + tail + "[MERGE FILES]\r\n")));
}

void TestProjectFiles::windowName_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("name");
    QTest::newRow("morning") << QDateTime(QDate(2026, 12, 6), QTime(7, 5, 9))
                             << QStringLiteral("Folvane_261206_070509");
    QTest::newRow("midnight") << QDateTime(QDate(2030, 1, 2), QTime(0, 0, 0))
                              << QStringLiteral("Folvane_300102_000000");
    QTest::newRow("24-hour clock") << QDateTime(QDate(2009, 10, 31), QTime(23, 59, 58))
                                   << QStringLiteral("Folvane_091031_235958");
}

void TestProjectFiles::windowName() {
    QFETCH(QDateTime, when);
    QFETCH(QString, name);
    OpenProject p;
    p.host.setNow(when);
    p.main.SaveIt();
    const QByteArray hhp = p.hhp();
    QVERIFY(hhp.contains(QByteArray("\r\nDefault Window=" + name.toUtf8() + "\r\n")));
    QVERIFY(hhp.contains(QByteArray("[WINDOWS]\r\n" + name.toUtf8() + "=\"")));
}

void TestProjectFiles::projectFilePaths() {
    ScriptedHost host;
    FmCHM windows(host, PathStyle::Windows);
    windows.project().setComparePath(QStringLiteral("D:"));
    QCOMPARE(windows.projectFilePath(), QStringLiteral("D:\\HH_KVEL.hhp"));
    windows.project().setComparePath(QStringLiteral("C:\\site"));
    QCOMPARE(windows.contentsFilePath(), QStringLiteral("C:\\site\\HH_KVEL.hhc"));
    FmCHM posix(host, PathStyle::Posix);
    posix.project().setComparePath(QStringLiteral("/"));
    QCOMPARE(posix.projectFilePath(), QStringLiteral("/HH_KVEL.hhp"));
}

QTEST_GUILESS_MAIN(TestProjectFiles)
#include "tst_projectfiles.moc"
