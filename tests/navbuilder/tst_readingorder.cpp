#include "app/FmCHM.h"
#include "navbuilder/FmContent.h"
#include "project/FmOption.h"
#include "support/ScriptedHost.h"
#include "util/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {
// Files of a site in file-list order: relative path, then the page's body. A path that starts
// with "/" stays outside the site; "folder/" is a folder entry left by an earlier folder build.
struct SiteFile {
    QByteArray path;
    QByteArray body;
};
using Files = QList<SiteFile>;

QStringList lines(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts)
        out.append(QString::fromUtf8(t));
    return out;
}

Files book() {
    return {
        {"index.htm", "<a href='ch1.htm' rel='next'>next</a> <a href='genindex.htm'>Index</a><h1>Book</h1>"
                      "<ul><li><a href='ch1.htm'>1</a><ul><li><a href='ch1/install.htm'>1.1</a>"
                      "<li><a href='ch1/usage.htm'>1.2</a></ul>"
                      "<li><a href='ch2.htm'>2</a></ul>"},
        {"ch1.htm", "<a href='index.htm' accesskey='h'>Home</a><a href='ch2.htm'>Next »</a>"
                    "<p>Options are in <a href='ch2/options.htm#all'>2.1</a>.</p>"},
        {"ch2.htm", "<dl><dt><a href='ch2/options.htm'>2.1</a></dt>"
                    "<dd><dl><dt><a href='ch2/colours.htm'>2.1.1</a></dt></dl></dd>"
                    "<dt><a href='ch2/faq.htm'>2.2</a></dt></dl>"},
        {"ch1/install.htm", "<a href='usage.htm'>下一页</a> <a href='../ch2/faq.htm'>FAQ</a>"},
        {"ch1/usage.htm", "<a href='install.htm'>上一页</a>"},
        {"ch2/colours.htm", ""},
        {"ch2/faq.htm", ""},
        {"ch2/options.htm", "<a href='colours.htm#red'>red</a>"},
        {"genindex.htm", "<a href='ch1/install.htm'>i</a> <a href='ch1/usage.htm'>u</a> <a href='ch2/faq.htm'>f</a>"
                         "<a href='ch2/options.htm'>o</a> <a href='ch2/colours.htm'>c</a>"},
    };
}

Files cycle() {
    return {
        {"index.htm", "<a href='a.htm'>a</a> <a href='index.htm'>me</a>"},
        {"a.htm", "<a href='b.htm'>b</a> <a href='index.htm'>up</a>"},
        {"b.htm", "<a href='c.htm'>c</a> <a href='a.htm'>a</a>"},
        {"c.htm", "<a href='a.htm'>a</a> <a href='b.htm'>b</a> <a href='c.htm'>c</a>"},
    };
}

Files navigationBar() {
    const QByteArray menu = "<div role='navigation'><div>Menu</div><a href='index.htm'>Home</a> "
                            "<a href='about.htm'>About</a></div>";
    const QByteArray footer = "<p><a href='glossary.htm'>Glossary</a></p>";
    return {
        {"about.htm", menu + footer},
        {"glossary.htm", menu + "<a href='terms.htm'>terms</a>" + footer},
        {"index.htm", menu + "<ul><li><a href='a.htm'>A</a><li><a href='b.htm'>B</a></ul>" + footer},
        {"a.htm", menu + "<a href='a1.htm'>A1</a>" + footer},
        {"a1.htm", menu + footer},
        {"b.htm", menu + "<a href='a1.htm'>see A1</a>" + footer},
        {"terms.htm", menu + footer},
    };
}

// A contents page below the home page, and a first chapter that the others refer to.
Files contentsPage() {
    return {
        {"index.htm", "<a href='toc.htm'>contents</a>"},
        {"toc.htm", "<ol><li><a href='c1.htm'>1</a><li><a href='c2.htm'>2</a><li><a href='c3.htm'>3</a>"
                    "<li><a href='c4.htm'>4</a></ol>"},
        {"c1.htm", ""},
        {"c2.htm", "see <a href='c1.htm#x'>1</a>"},
        {"c3.htm", "see <a href='c1.htm#x'>1</a>"},
        {"c4.htm", "see <a href='c1.htm#x'>1</a>"},
    };
}

Files unreachableAndNotPages() {
    return {
        {"index.htm",
         "<a href='pic.jpg'>p</a> <a href='doc.pdf'>d</a> <a href='old.bak.htm'>o</a> <a href='a.htm'>a</a>"},
        {"a.htm", "<a href='b.htm' rel='next'>b</a> <a href='c.htm' accesskey='n'>c</a> <a href='d.htm'>[下一页]</a>"
                  "<a href='e.htm'><img src='next.gif' alt='Next'></a> <a href='f.htm'>&laquo;</a>"},
        {"b.htm", ""},
        {"c.htm", ""},
        {"d.htm", ""},
        {"e.htm", ""},
        {"f.htm", ""},
        {"pic.jpg", ""},
        {"doc.pdf", ""},
        {"old.bak.htm", ""},
        {"sub/", ""},
        {"sub/notes.txt", ""},
        {"sub/z.html", ""},
        {"/out.htm", ""},
    };
}

Files markup() {
    return {
        {"index.htm", "<!-- <a href='hidden.htm'>x</a> --><script>var s = '<a href=\"script.htm\">';</script>"
                      "<frameset><frame src=toc.htm><frame src='main.htm#top'></frameset>"
                      "<a href='%E4%B8%AD%E6%96%87.htm?x=1'>z</a> <a href='a&amp;b.htm'>ab</a> <A HREF=UPPER.HTM>u</A>"
                      "<a href='../outside.htm'>o</a> <a href='http://example.com/index.htm'>w</a>"
                      "<a href='mailto:x@example.com'>m</a> <a href='/main.htm'>r</a> <a href='#local'>l</a>"
                      "<map><area href='sub/map.htm' alt='map'></map> <a href='sub\\back.htm'>b</a>"},
        {"toc.htm", ""},
        {"main.htm", ""},
        {"中文.htm", ""},
        {"a&b.htm", ""},
        {"Upper.htm", ""},
        {"hidden.htm", ""},
        {"script.htm", ""},
        {"sub/map.htm", ""},
        {"sub/back.htm", ""},
    };
}

Files chain() {
    return {
        {"index.htm", ""},
        {"start/begin.htm", "<a href='p1.htm'>1</a>"},
        {"start/p1.htm", "<a href='p2.htm'>2</a>"},
        {"start/p2.htm", "<a href='p3.htm'>3</a>"},
        {"start/p3.htm", "<a href='begin.htm'>again</a>"},
    };
}

// Enough pages to be read on more than one thread, and a home page too big for a title.
Files bigBook(QStringList& toc) {
    constexpr int kChapters = 20;
    constexpr int kSections = 30;
    Files files{{"index.htm", QByteArray(600000, ' ') + "<ol>"}};
    toc = QStringList{QStringLiteral("index")};
    for (int c = 0; c < kChapters; ++c) {
        const QByteArray chapter = "c" + QByteArray::number(c);
        files[0].body += "<li><a href='" + chapter + ".htm'>" + chapter + "</a>";
        toc.append(QLatin1Char(' ') + QString::fromLatin1(chapter));
        QByteArray list = "<ol>";
        for (int s = 0; s < kSections; ++s) {
            const QByteArray section = chapter + "/s" + QByteArray::number(s) + ".htm";
            list += "<li><a href='" + section + "'>" + QByteArray::number(s) + "</a>";
            toc.append(QStringLiteral("  s%1").arg(s));
            // The next section, and a place in a section of the next chapter.
            files.append({section, "<a href='s" + QByteArray::number((s + 1) % kSections) +
                                       ".htm'>下一页</a> <a href='../c" + QByteArray::number((c + 1) % kChapters) +
                                       "/s" + QByteArray::number(s) + ".htm#x'>see</a>"});
        }
        files.append({chapter + ".htm", list + "</ol>"});
    }
    return files;
}

Files otherHome() {
    return {
        {"a.htm", "<a href='index.en.html'>home</a>"},
        {"index.en.html", "<a href='a.htm'>a</a>"},
    };
}
} // namespace

Q_DECLARE_METATYPE(Files)

class TestReadingOrder : public QObject {
    Q_OBJECT
private slots:
    void sitesReadInTheOrderOfTheirLinks_data();
    void sitesReadInTheOrderOfTheirLinks();
};

void TestReadingOrder::sitesReadInTheOrderOfTheirLinks_data() {
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("home");
    QTest::addColumn<int>("depth");
    QTest::addColumn<QString>("types");
    QTest::addColumn<QStringList>("toc");
    const QString types = NavSettings().excludedTypes;

    // Sections listed below their chapter on the home page belong to the chapter; neither a
    // reference to a place inside a page nor the book's index takes a page from the chapter
    // that lists it.
    QTest::newRow("book") << book() << QString() << 4 << types
                          << lines({"index", " genindex", " ch1", "  install", "  usage", " ch2", "  options",
                                    "   colours", "  faq"});
    QTest::newRow("cycle") << cycle() << QString() << 4 << types << lines({"index", " a", "  b", "   c"});
    // A bar on every page places its pages where nothing else does, in the first page's order;
    // a menu's pages follow that page's own.
    QTest::newRow("navigation bar on every page")
        << navigationBar() << QString() << 4 << types
        << lines({"index", " a", "  a1", " b", " glossary", "  terms", " about"});
    QTest::newRow("contents page") << contentsPage() << QString() << 4 << types
                                   << lines({"index", " toc", "  c1", "  c2", "  c3", "  c4"});
    QTest::newRow("unreachable pages, browsing links, files that are not pages")
        << unreachableAndNotPages() << QString() << 4 << QStringLiteral("jpg;bak.htm")
        << lines({"index", " a", "其他页面", " b", " c", " d", " e", " f", " notes", " z", " out"});
    QTest::newRow("markup") << markup() << QString() << 4 << types
                            << lines({"index", " toc", " main", " 中文", " a&b", " Upper", " map", " back", "其他页面",
                                      " hidden", " script"});
    QTest::newRow("home page chosen, depth limited") << chain() << QStringLiteral("start/begin.htm") << 2 << types
                                                     << lines({"begin", " p1", "  p2", "  p3", "其他页面", " index"});
    QStringList bigToc;
    const Files big = bigBook(bigToc);
    QTest::newRow("big book") << big << QString() << 4 << types << bigToc;
    QTest::newRow("home page named index.*") << otherHome() << QString() << 4 << types << lines({"index.en", " a"});
}

void TestReadingOrder::sitesReadInTheOrderOfTheirLinks() {
    QFETCH(Files, files);
    QFETCH(QString, home);
    QFETCH(int, depth);
    QFETCH(QString, types);
    QTemporaryDir dir;
    ScriptedHost host;
    FmCHM main(host, PathStyle::Posix);
    main.project().setComparePath(dir.path());
    QList<ListEntry> list;
    for (const SiteFile& f : files) {
        const QString relative = QString::fromUtf8(f.path);
        if (relative.endsWith(u'/')) {
            list.append(ListEntry{relative.chopped(1), 1, false});
            continue;
        }
        const QString path = relative.startsWith(u'/') ? relative : dir.filePath(relative);
        list.append(ListEntry{path, 0, false});
        if (relative.startsWith(u'/'))
            continue;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><head><link rel='next' href='b.htm'></head><body>" + f.body + "</body></html>");
    }
    main.project().restore(list, {});
    if (!home.isEmpty())
        main.fmOption().setCo1Text(home);

    main.Command2_Click();
    FmContent& builder = main.fmContent();
    builder.setCheck3(true);
    builder.setSpin1(depth);
    builder.setText1(types);
    builder.CmdOK_Click();

    QStringList toc;
    for (const ListEntry& e : main.LB().entries()) {
        toc.append(e.text);
        // Every entry but the one folder entry opens its own page.
        if (e.itemData >= 0)
            QCOMPARE(PathPart(main.LF.text(e.itemData), 1, PathStyle::Posix), e.text.trimmed());
    }
    QTEST(toc, "toc");
    QVERIFY(host.prompts().isEmpty());
}

QTEST_GUILESS_MAIN(TestReadingOrder)
#include "tst_readingorder.moc"
