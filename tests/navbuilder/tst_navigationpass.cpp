#include "navbuilder/NavigationPass.h"

#include "app/FmCHM.h"
#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {

// A project folder on disk with a main form whose file list names its files.
class Site {
public:
    Site() : main(host, PathStyle::Posix) { main.project().setComparePath(dir.path()); }

    QString path(const QString& relative) const { return dir.path() + u'/' + relative; }

    void write(const QString& relative, const QByteArray& bytes) {
        const QString full = path(relative);
        QDir().mkpath(full.left(full.lastIndexOf(u'/')));
        QFile file(full);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Puts the files into the file list in the given order; they need not exist.
    void list(const QStringList& relatives) {
        QList<ListEntry> entries;
        for (const QString& r : relatives)
            entries.append(ListEntry{path(r), 0, false});
        main.project().restore(entries, main.LB().entries());
    }

    void run(const NavSettings& settings) { NavigationPass(main.project(), host, settings).run(); }

    QStringList toc() const {
        QStringList texts;
        for (const ListEntry& e : main.LB().entries())
            texts.append(e.text);
        return texts;
    }
    QList<qint32> links() const {
        QList<qint32> out;
        for (const ListEntry& e : main.LB().entries())
            out.append(e.itemData);
        return out;
    }

    QTemporaryDir dir;
    ScriptedHost host;
    FmCHM main;
};

NavSettings withTitles(int mode) {
    NavSettings s;
    s.titleMode = mode;
    s.excludeTypes = false;
    return s;
}

QString messageFor(const QString& path) {
    return QStringLiteral("文件太大或不存在！\r\n") + path;
}

} // namespace

class TestNavigationPass : public QObject {
    Q_OBJECT
private slots:
    void defaultSettings();
    void listHiddenAndBusyWhileTitling();
    void titlesBetweenMarkers();
    void firstNonBlankLine();
    void exclusion_data();
    void exclusion();
    void folderEntriesAreNeverExcluded();
    void ownFilesNeverBecomeEntries();
    void withoutFolderHierarchyKeepsOrderAndDepths();
    void entriesWithoutAFileStayAsTheyAre();
    void emptyTocChangesNothing();
    void tooManyFolderEntriesKeepsTheToc();
    void listsClearedDuringThePass();
    void entriesDeletedDuringThePass();
    void fileListShrinksDuringThePass();
    void dragSortSwitchedDuringThePass();
};

void TestNavigationPass::defaultSettings() {
    Site site;
    site.write(QStringLiteral("index.htm"), "<title>Home</title>");
    site.write(QStringLiteral("a/x.htm"), "<title>X</title>");
    site.write(QStringLiteral("a/pic.jpg"), "\xff\xd8");
    site.list({QStringLiteral("index.htm"), QStringLiteral("a/x.htm"), QStringLiteral("a/pic.jpg")});
    site.main.project().markSaved();

    site.run(NavSettings());

    QCOMPARE(site.toc(), QStringList({QStringLiteral("index"), QStringLiteral("a"), QStringLiteral(" x")}));
    QCOMPARE(site.links(), QList<qint32>({0, 1, 2}));
    // The picture leaves the TOC only: the file list still has it.
    QCOMPARE(site.main.LF.count(), 4);
    QCOMPARE(site.main.LF.text(3), site.path(QStringLiteral("a/pic.jpg")));
    QVERIFY(!site.main.SavedFlag); // new contents are an edit
    QVERIFY(site.host.prompts().isEmpty());
    QCOMPARE(site.host.doEventsCount(), 3);
}

void TestNavigationPass::listHiddenAndBusyWhileTitling() {
    Site site;
    site.list({QStringLiteral("a.htm"), QStringLiteral("b.htm")});
    QList<bool> hidden;
    site.host.onDoEvents = [&] { hidden.append(!site.main.LB().isVisible() && site.host.busy()); };
    site.run(NavSettings());
    QCOMPARE(hidden, QList<bool>({true, true}));
    QVERIFY(site.main.LB().isVisible());
    QVERIFY(!site.host.busy());
    QCOMPARE(site.host.busyChanges(), 2);
}

void TestNavigationPass::titlesBetweenMarkers() {
    Site site;
    site.write(QStringLiteral("home.htm"), "<html><head><title>Home</title></head>");
    site.write(QStringLiteral("two.html"), "<title>My\r\nPage</title>");
    site.write(QStringLiteral("amp.htm"), "<title>A &amp; B</title>");
    site.write(QStringLiteral("caps.htm"), "<HTML><TITLE>Caps</TITLE>");
    site.write(QStringLiteral("endfirst.htm"), "</title> <title>none");
    site.write(QStringLiteral("bin.htm"), QByteArray("<title>Bin</title>\0\1\2", 21));
    site.write(QStringLiteral("big.htm"), "<title>Big</title>" + QByteArray(500001 - 18, 'x'));
    site.write(QStringLiteral("notes.txt"), "<title>Notes</title>");
    site.write(QStringLiteral("UPPER.HTM"), "<title>Upper</title>");
    site.write(QStringLiteral("s/style.css"), "<title>Css</title>");
    site.write(QStringLiteral("s/中文.htm"), "<title>帮助主页</title>");
    site.list({QStringLiteral("home.htm"), QStringLiteral("two.html"), QStringLiteral("amp.htm"),
               QStringLiteral("caps.htm"), QStringLiteral("endfirst.htm"), QStringLiteral("bin.htm"),
               QStringLiteral("big.htm"), QStringLiteral("gone.htm"), QStringLiteral("notes.txt"),
               QStringLiteral("UPPER.HTM"), QStringLiteral("s/style.css"), QStringLiteral("s/中文.htm")});

    site.run(withTitles(NavSettings::BetweenMarkers));

    QCOMPARE(site.toc(), QStringList({QStringLiteral("Home"), QStringLiteral("MyPage"), QStringLiteral("A &amp; B"),
                                      QStringLiteral("Caps"), QStringLiteral("endfirst.htm"), QStringLiteral("bin.htm"),
                                      QStringLiteral("big.htm"), QStringLiteral("gone.htm"), QStringLiteral("Notes"),
                                      QStringLiteral("UPPER.HTM"), QStringLiteral("s"), QStringLiteral(" style.css"),
                                      QStringLiteral(" 帮助主页")}));
    // One message for each file that is too big or missing, nothing else.
    QCOMPARE(site.host.messageTexts(), QStringList({messageFor(site.path(QStringLiteral("big.htm"))),
                                                    messageFor(site.path(QStringLiteral("gone.htm")))}));
    QCOMPARE(site.host.prompts().first().icon, MsgIcon::Critical);
}

void TestNavigationPass::firstNonBlankLine() {
    Site site;
    site.write(QStringLiteral("chapter.txt"), "\r\n   \r\n  Chapter 1 \r\nmore\r\n");
    site.write(QStringLiteral("crs.txt"), "\r\r  \rTitle\rX");
    site.write(QStringLiteral("lf.txt"), "first\nsecond\rthird");
    site.write(QStringLiteral("blank.txt"), "  \r\n\r\n   ");
    site.write(QStringLiteral("last.txt"), "\r\n  Last line  ");
    site.write(QStringLiteral("big.txt"), "Big\r\n" + QByteArray(600000, 'y'));
    site.write(QStringLiteral("page.htm"), "Page line\r\n");
    site.list({QStringLiteral("chapter.txt"), QStringLiteral("crs.txt"), QStringLiteral("lf.txt"),
               QStringLiteral("blank.txt"), QStringLiteral("last.txt"), QStringLiteral("big.txt"),
               QStringLiteral("page.htm"), QStringLiteral("gone.txt")});

    site.run(withTitles(NavSettings::FirstLine));

    QCOMPARE(site.toc(),
             QStringList({QStringLiteral("Chapter 1"), QStringLiteral("Title"), QStringLiteral("first\nsecond"),
                          QStringLiteral("blank.txt"), QStringLiteral("Last line"), QStringLiteral("Big"),
                          QStringLiteral("page.htm"), QStringLiteral("gone.txt")}));
    // No size limit and no messages here.
    QVERIFY(site.host.prompts().isEmpty());
}

void TestNavigationPass::exclusion_data() {
    QTest::addColumn<QString>("types");
    QTest::addColumn<QStringList>("kept");

    const QStringList all = {QStringLiteral("a.htm"),  QStringLiteral("b.html"), QStringLiteral("c.jpg"),
                             QStringLiteral("D.JPG"),  QStringLiteral("e.css"),  QStringLiteral("f.js"),
                             QStringLiteral("README"), QStringLiteral("odd.")};
    auto without = [&all](const QStringList& gone) {
        QStringList kept = all;
        for (const QString& g : gone)
            kept.removeAll(g);
        return kept;
    };
    QTest::newRow("types in capitals never match") << QStringLiteral("JPG;CSS") << all;
    QTest::newRow("lowered text matches")
        << QStringLiteral("jpg") << without({QStringLiteral("c.jpg"), QStringLiteral("D.JPG")});
    QTest::newRow("wildcard type") << QStringLiteral("ht*")
                                   << without({QStringLiteral("a.htm"), QStringLiteral("b.html")});
    QTest::newRow("question mark") << QStringLiteral("j?") << without({QStringLiteral("f.js")});
    // The empty type after a trailing ";" gives "*.": names really ending in "." go; a
    // file without extension is listed by its real name here and stays.
    QTest::newRow("trailing semicolon") << QStringLiteral("css;")
                                        << without({QStringLiteral("e.css"), QStringLiteral("odd.")});
    QTest::newRow("empty text") << QString() << all;
    QTest::newRow("invalid type skipped") << QStringLiteral("[;css") << without({QStringLiteral("e.css")});
}

void TestNavigationPass::exclusion() {
    QFETCH(QString, types);
    QFETCH(QStringList, kept);
    Site site;
    site.list({QStringLiteral("a.htm"), QStringLiteral("b.html"), QStringLiteral("c.jpg"), QStringLiteral("D.JPG"),
               QStringLiteral("e.css"), QStringLiteral("f.js"), QStringLiteral("README"), QStringLiteral("odd.")});
    NavSettings settings = withTitles(NavSettings::FullName);
    settings.excludeTypes = true;
    settings.excludedTypes = types;
    site.run(settings);
    QCOMPARE(site.toc(), kept);
    QCOMPARE(site.main.LF.count(), 8);
    QVERIFY(site.host.prompts().isEmpty());
}

void TestNavigationPass::folderEntriesAreNeverExcluded() {
    Site site;
    site.list({QStringLiteral("x.jpg/a.htm"), QStringLiteral("x.jpg/b.jpg")});
    NavSettings settings = withTitles(NavSettings::FullName);
    settings.excludeTypes = true;
    site.run(settings);
    QCOMPARE(site.toc(), QStringList({QStringLiteral("x.jpg"), QStringLiteral(" a.htm")}));
    QCOMPARE(site.links(), QList<qint32>({0, 1}));
}

void TestNavigationPass::ownFilesNeverBecomeEntries() {
    // A second run over the folder finds the first run's project and help files.
    for (const bool exclude : {false, true}) {
        Site site;
        site.list({QStringLiteral("index.htm"), QStringLiteral("HH_KVEL.hhp"), QStringLiteral("HH_KVEL.hhc"),
                   QStringLiteral("HH_KVEL.chm"), QStringLiteral("Help.CHM"), QStringLiteral("notes.hhp")});
        NavSettings settings = withTitles(NavSettings::FullName);
        settings.excludeTypes = exclude;
        settings.excludedTypes = QStringLiteral("jpg");
        site.run(settings);
        QCOMPARE(site.toc(), QStringList({QStringLiteral("index.htm"), QStringLiteral("notes.hhp")}));
        QCOMPARE(site.main.LF.count(), 6);
    }
}

void TestNavigationPass::withoutFolderHierarchyKeepsOrderAndDepths() {
    Site site;
    site.list({QStringLiteral("one.htm"), QStringLiteral("two.htm"), QStringLiteral("pic.jpg")});
    // The entry text is matched, not the file it links to.
    site.main.LB().setEntries({{QStringLiteral("  Second"), 1, false},
                               {QStringLiteral("First"), 0, true},
                               {QStringLiteral(" picture"), 2, false},
                               {QStringLiteral(" old.JPG"), 0, false}});
    NavSettings settings;
    settings.applyFolderHierarchy = false;
    site.run(settings);
    QCOMPARE(site.toc(), QStringList({QStringLiteral("  two"), QStringLiteral("one"), QStringLiteral(" pic")}));
    QCOMPARE(site.links(), QList<qint32>({1, 0, 2}));
    QVERIFY(site.main.LB().selected(1));
    QCOMPARE(site.main.LF.count(), 3);
}

void TestNavigationPass::entriesWithoutAFileStayAsTheyAre() {
    Site site;
    site.main.project().restore({{site.path(QStringLiteral("one.htm")), 0, false}, {QStringLiteral("sub"), 1, false}},
                                {{QStringLiteral(" Folder.jpg"), -1, false},
                                 {QStringLiteral("  past.jpg"), 99, false},
                                 {QStringLiteral("   negative"), -5, false},
                                 {QStringLiteral(" Sub folder"), 1, false},
                                 {QStringLiteral("x.jpg"), 0, false}});
    NavSettings settings;
    settings.applyFolderHierarchy = false;
    site.run(settings);
    QCOMPARE(site.toc(), QStringList({QStringLiteral(" Folder.jpg"), QStringLiteral("  past.jpg"),
                                      QStringLiteral("   negative"), QStringLiteral(" sub")}));
    QCOMPARE(site.links(), QList<qint32>({-1, 99, -5, 1}));
}

void TestNavigationPass::emptyTocChangesNothing() {
    Site site;
    NavSettings settings;
    settings.applyFolderHierarchy = false;
    site.run(settings);
    QCOMPARE(site.main.LB().count(), 0);
    site.run(NavSettings());
    QCOMPARE(site.main.LB().count(), 0);
    QVERIFY(site.host.prompts().isEmpty());
    QVERIFY(site.main.LB().isVisible());
    QVERIFY(!site.host.busy());
}

void TestNavigationPass::tooManyFolderEntriesKeepsTheToc() {
    Site site;
    QList<ListEntry> files;
    for (int i = 0; i < kListCapacity; ++i)
        files.append(ListEntry{site.path(QStringLiteral("d%1/f%2.htm").arg(i % 10).arg(i)), 0, false});
    site.main.project().restore(files, {{QStringLiteral(" old"), 3, false}});
    site.run(withTitles(NavSettings::BaseName));
    QCOMPARE(site.host.prompts().size(), 1);
    QCOMPARE(site.host.prompts().first().icon, MsgIcon::Critical);
    QCOMPARE(site.main.LF.count(), kListCapacity);
    QCOMPARE(site.toc(), QStringList({QStringLiteral(" f3")}));
}

void TestNavigationPass::listsClearedDuringThePass() {
    Site site;
    site.list({QStringLiteral("a.htm"), QStringLiteral("b.htm"), QStringLiteral("c.htm"), QStringLiteral("d.htm")});
    // What a new project does to the lists before it asks for a folder.
    site.host.onDoEvents = [&] { site.main.project().clear(); };
    site.run(NavSettings());
    QCOMPARE(site.host.doEventsCount(), 1);
    QCOMPARE(site.main.LB().count(), 0);
    QVERIFY(site.main.LB().isVisible());
    QVERIFY(!site.host.busy());
}

void TestNavigationPass::entriesDeletedDuringThePass() {
    Site site;
    site.list({QStringLiteral("a.htm"), QStringLiteral("b.htm"), QStringLiteral("c.htm"), QStringLiteral("d.htm"),
               QStringLiteral("e.htm")});
    // The user deletes the first entry each time the pass lets events run.
    site.host.onDoEvents = [&] {
        if (site.main.LB().count() > 0)
            site.main.LB().removeItem(0);
    };
    site.run(NavSettings());
    // Positions 0, 1 and 2 got titles (a, c, e); b and d moved past the pass and keep theirs.
    QCOMPARE(site.toc(), QStringList({QStringLiteral("d.htm"), QStringLiteral("e")}));
    QCOMPARE(site.links(), QList<qint32>({3, 4}));
}

void TestNavigationPass::fileListShrinksDuringThePass() {
    Site site;
    site.list({QStringLiteral("a.htm"), QStringLiteral("b.htm"), QStringLiteral("c.htm")});
    site.host.onDoEvents = [&] {
        if (site.main.LF.count() > 1) {
            site.main.project().selectableLF().setSelected(site.main.LF.count() - 1, true);
            site.main.project().removeSelectedFiles();
        }
    };
    site.run(NavSettings());
    // c lost its file before its turn and keeps the text it had.
    QCOMPARE(site.toc(), QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c.htm")}));
}

void TestNavigationPass::dragSortSwitchedDuringThePass() {
    Site site;
    site.list({QStringLiteral("a.htm"), QStringLiteral("b.htm"), QStringLiteral("c.htm")});
    site.host.onDoEvents = [&] { site.main.setCheck1(true); };
    site.run(NavSettings());
    QCOMPARE(site.main.lbIndex(), 0);
    QCOMPARE(site.toc(), QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    QVERIFY(site.main.L(0).isVisible());
    QVERIFY(!site.main.L(1).isVisible());
    QCOMPARE(site.main.L(1).count(), 0);
}

QTEST_GUILESS_MAIN(TestNavigationPass)
#include "tst_navigationpass.moc"
