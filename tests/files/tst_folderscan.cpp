#include "files/FolderScan.h"
#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <utility>

using namespace folvane;

namespace {

void touch(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

void makeFolder(const QString& path) {
    QVERIFY2(QDir().mkpath(path), qPrintable(path));
}

} // namespace

class TestFolderScan : public QObject {
    Q_OBJECT
private slots:
    void init();
    void subFoldersFirstLastFoundFirst();
    void namesInNtfsOrder();
    void trailingSeparatorNotDoubled();
    void patterns_data();
    void patterns();
    void invalidPatternListsEverything();
    void hiddenEntriesAreScanned();
    void unlistableNamesAreSkipped();
    void linkLoopEnteredOnce();
    void onlyRegularFilesAreListed();
    void emptyAndMissingFolders();
    void windowsStyleListsAppendedDot();
    void busyPointerAndEvents();
    void nestedScanDuringEvents();

private:
    QTemporaryDir tmp_;
    QString root_;
};

void TestFolderScan::init() {
    QVERIFY(tmp_.isValid());
    static int n = 0;
    root_ = tmp_.path() + QStringLiteral("/t") + QString::number(++n);
    makeFolder(root_);
}

void TestFolderScan::subFoldersFirstLastFoundFirst() {
    // Created out of name order: the listing follows the names, as on Windows.
    const QString site = root_ + QStringLiteral("/site");
    makeFolder(site + QStringLiteral("/y"));
    makeFolder(site + QStringLiteral("/x/deep"));
    touch(site + QStringLiteral("/b.htm"));
    touch(site + QStringLiteral("/y/y1.htm"));
    touch(site + QStringLiteral("/a.htm"));
    touch(site + QStringLiteral("/x/x1.htm"));
    touch(site + QStringLiteral("/x/deep/d1.htm"));
    ScriptedHost host;
    QCOMPARE(ListFolderFiles(site, QStringLiteral("*.*"), host),
             (QStringList{site + QStringLiteral("/y/y1.htm"), site + QStringLiteral("/x/deep/d1.htm"),
                          site + QStringLiteral("/x/x1.htm"), site + QStringLiteral("/a.htm"),
                          site + QStringLiteral("/b.htm")}));
}

void TestFolderScan::namesInNtfsOrder() {
    // Upper-cased code unit by code unit: "_" after the letters, "é" as "É", "ß" kept whole,
    // chapter 10 before chapter 1; names equal but for case keep a fixed order.
    const QStringList ordered{QStringLiteral("a.htm"),      QStringLiteral("B.htm"),     QStringLiteral("Readme"),
                              QStringLiteral("readme"),     QStringLiteral("Z.htm"),     QStringLiteral("_c.htm"),
                              QStringLiteral("é.htm"),      QStringLiteral("Ö.htm"),     QStringLiteral("ß.htm"),
                              QStringLiteral("第10章.htm"), QStringLiteral("第1章.htm"), QStringLiteral("第7章.htm")};
    QStringList names = ordered;
    for (int i = 0; i < 300; ++i)
        names.append(QStringLiteral("p%1.htm").arg(i, 3, 10, QLatin1Char('0')));
    QStringList shuffled = names;
    std::mt19937 random(14);
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    for (const QString& name : shuffled)
        touch(root_ + u'/' + name);
    // The p files sort between "B" and "Readme".
    QStringList expected = ordered.mid(0, 2) + names.mid(ordered.size()) + ordered.mid(2);
    for (QString& name : expected)
        name = root_ + u'/' + name;

    QDir raw(root_);
    raw.setSorting(QDir::Unsorted);
    QVERIFY2(raw.entryList(QDir::Files) != QDir(root_).entryList(QDir::Files, QDir::Name),
             "the file system lists these names in name order already");
    ScriptedHost host;
    QCOMPARE(ListFolderFiles(root_, QStringLiteral("*.*"), host, PathStyle::Posix), expected);
}

void TestFolderScan::trailingSeparatorNotDoubled() {
    touch(root_ + QStringLiteral("/a.htm"));
    ScriptedHost host;
    QCOMPARE(ListFolderFiles(root_ + u'/', QStringLiteral("*.*"), host), QStringList{root_ + QStringLiteral("/a.htm")});
}

void TestFolderScan::patterns_data() {
    QTest::addColumn<QString>("patterns");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("*.* takes bare names") << QStringLiteral("*.*")
                                          << QStringList{QStringLiteral("INDEX.HTM"), QStringLiteral("README"),
                                                         QStringLiteral("notes.jpg.bak"), QStringLiteral("pic.jpg")};
    QTest::newRow("*. only bare names") << QStringLiteral("*.") << QStringList{QStringLiteral("README")};
    QTest::newRow("case ignored") << QStringLiteral("*.htm") << QStringList{QStringLiteral("INDEX.HTM")};
    QTest::newRow("widened answer") << QStringLiteral("*jpg*")
                                    << QStringList{QStringLiteral("notes.jpg.bak"), QStringLiteral("pic.jpg")};
    QTest::newRow("two elements") << QStringLiteral("*.jpg;readme.")
                                  << QStringList{QStringLiteral("README"), QStringLiteral("pic.jpg")};
    QTest::newRow("nothing") << QStringLiteral("*.gif") << QStringList{};
}

void TestFolderScan::patterns() {
    QFETCH(QString, patterns);
    QFETCH(QStringList, expected);
    for (const char* name : {"INDEX.HTM", "README", "notes.jpg.bak", "pic.jpg"})
        touch(root_ + u'/' + QString::fromLatin1(name));
    ScriptedHost host;
    QStringList got = ListFolderFiles(root_, patterns, host);
    got.sort();
    for (QString& e : expected)
        e = root_ + u'/' + e;
    QCOMPARE(got, expected);
}

void TestFolderScan::invalidPatternListsEverything() {
    touch(root_ + QStringLiteral("/a.htm"));
    touch(root_ + QStringLiteral("/b.jpg"));
    ScriptedHost host;
    QCOMPARE(ListFolderFiles(root_, QStringLiteral("*.gif;[a-"), host).size(), 2);
}

void TestFolderScan::hiddenEntriesAreScanned() {
    makeFolder(root_ + QStringLiteral("/.git"));
    touch(root_ + QStringLiteral("/.git/config"));
    touch(root_ + QStringLiteral("/.hidden.htm"));
    ScriptedHost host;
    QStringList got = ListFolderFiles(root_, QStringLiteral("*.*"), host);
    got.sort();
    QCOMPARE(got, (QStringList{root_ + QStringLiteral("/.git/config"), root_ + QStringLiteral("/.hidden.htm")}));
}

void TestFolderScan::unlistableNamesAreSkipped() {
    touch(root_ + QStringLiteral("/ok.htm"));
    for (const char16_t* name : {u"what?.htm", u"line\nbreak.htm", u"cr\r.htm", u"tab\t.htm", u"del\x7f.htm"})
        touch(root_ + u'/' + QString::fromUtf16(name));
    makeFolder(root_ + QStringLiteral("/q?dir"));
    touch(root_ + QStringLiteral("/q?dir/inner.htm"));
    makeFolder(root_ + QStringLiteral("/lf\ndir"));
    touch(root_ + QStringLiteral("/lf\ndir/inner.htm"));
    // Bytes that are not UTF-8 would come back as another name.
    const QByteArray badName = QFile::encodeName(root_) + "/bad\xff.htm";
    FILE* f = fopen(badName.constData(), "w");
    QVERIFY(f);
    fclose(f);

    // A Western locale reads what is no UTF-8 in its code page, where 0xFF is ÿ; GBK does not.
    const QByteArray locale = qgetenv("LC_ALL");
    qputenv("LC_ALL", "de_DE.UTF-8");
    ScriptedHost host;
    const QStringList got = ListFolderFiles(root_, QStringLiteral("*.*"), host);
    qputenv("LC_ALL", "zh_CN.UTF-8");
    ScriptedHost chinese;
    const QStringList gotInChinese = ListFolderFiles(root_, QStringLiteral("*.*"), chinese);
    qputenv("LC_ALL", locale);
    unlink(badName.constData()); // the temporary folder's cleanup cannot name it
    QCOMPARE(got, (QStringList{root_ + QStringLiteral("/bad\u00ff.htm"), root_ + QStringLiteral("/ok.htm")}));
    QCOMPARE(gotInChinese, QStringList{root_ + QStringLiteral("/ok.htm")});
    // One message names every name left out.
    QCOMPARE(host.messageTexts().size(), 1);
    QCOMPARE(host.messageTexts()[0].count(QStringLiteral("\r\n")), 7);
    QVERIFY(chinese.messageTexts().value(0).contains(root_ + QStringLiteral("/bad\\xff.htm（")));
}

void TestFolderScan::linkLoopEnteredOnce() {
    makeFolder(root_ + QStringLiteral("/site/sub"));
    touch(root_ + QStringLiteral("/site/a.htm"));
    touch(root_ + QStringLiteral("/site/sub/b.htm"));
    QVERIFY(QFile::link(root_ + QStringLiteral("/site"), root_ + QStringLiteral("/site/sub/up")));
    QVERIFY(QFile::link(root_ + QStringLiteral("/site/sub"), root_ + QStringLiteral("/site/alias")));
    ScriptedHost host;
    const QStringList got = ListFolderFiles(root_ + QStringLiteral("/site"), QStringLiteral("*.*"), host);
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.last(), root_ + QStringLiteral("/site/a.htm"));
    QVERIFY(got.first().endsWith(u"/b.htm"));
}

void TestFolderScan::onlyRegularFilesAreListed() {
    touch(root_ + QStringLiteral("/real.htm"));
    QVERIFY(QFile::link(root_ + QStringLiteral("/real.htm"), root_ + QStringLiteral("/link.htm")));
    QVERIFY(QFile::link(root_ + QStringLiteral("/gone.htm"), root_ + QStringLiteral("/dangling.htm")));
    QCOMPARE(mkfifo(QFile::encodeName(root_ + QStringLiteral("/pipe.htm")).constData(), 0600), 0);
    ScriptedHost host;
    QStringList got = ListFolderFiles(root_, QStringLiteral("*.*"), host);
    got.sort();
    QCOMPARE(got, (QStringList{root_ + QStringLiteral("/link.htm"), root_ + QStringLiteral("/real.htm")}));
}

void TestFolderScan::emptyAndMissingFolders() {
    ScriptedHost host;
    makeFolder(root_ + QStringLiteral("/empty/inner"));
    QCOMPARE(ListFolderFiles(root_, QStringLiteral("*.*"), host), QStringList());
    QCOMPARE(ListFolderFiles(root_ + QStringLiteral("/missing"), QStringLiteral("*.*"), host), QStringList());
    touch(root_ + QStringLiteral("/file.htm"));
    QCOMPARE(ListFolderFiles(root_ + QStringLiteral("/file.htm"), QStringLiteral("*.*"), host), QStringList());
    QCOMPARE(host.busyChanges(), 6);

    ScriptedHost idle;
    QCOMPARE(ListFolderFiles(QString(), QStringLiteral("*.*"), idle), QStringList());
    QCOMPARE(idle.busyChanges(), 0);
}

void TestFolderScan::windowsStyleListsAppendedDot() {
    // In Windows style the scan appends "\" to the folder; a folder whose name ends in "\"
    // lets that run on a Posix file system.
    const QString site = root_ + QStringLiteral("/site\\");
    makeFolder(site);
    touch(site + QStringLiteral("/README"));
    touch(site + QStringLiteral("/a.htm"));
    ScriptedHost host;
    QStringList got = ListFolderFiles(root_ + QStringLiteral("/site"), QStringLiteral("*.*"), host, PathStyle::Windows);
    got.sort();
    QCOMPARE(got, (QStringList{site + QStringLiteral("README."), site + QStringLiteral("a.htm")}));
}

void TestFolderScan::busyPointerAndEvents() {
    makeFolder(root_ + QStringLiteral("/sub"));
    for (int i = 0; i < 5; ++i)
        touch(root_ + QStringLiteral("/sub/f%1.htm").arg(i));
    ScriptedHost host;
    bool busyDuringEvents = true;
    host.onDoEvents = [&] { busyDuringEvents = busyDuringEvents && host.busy(); };
    QCOMPARE(ListFolderFiles(root_, QStringLiteral("*.*"), host).size(), 5);
    QVERIFY(host.doEventsCount() >= 1);
    QVERIFY(busyDuringEvents);
    QVERIFY(!host.busy());
}

void TestFolderScan::nestedScanDuringEvents() {
    // A command handled while the scan lets events run may start a scan of its own.
    makeFolder(root_ + QStringLiteral("/one/deeper"));
    makeFolder(root_ + QStringLiteral("/two"));
    touch(root_ + QStringLiteral("/one/deeper/a.htm"));
    touch(root_ + QStringLiteral("/one/b.htm"));
    touch(root_ + QStringLiteral("/two/c.htm"));
    ScriptedHost host;
    const QStringList quiet = ListFolderFiles(root_ + QStringLiteral("/one"), QStringLiteral("*.*"), host);
    QStringList nested;
    bool started = false;
    host.onDoEvents = [&] {
        if (!std::exchange(started, true))
            nested = ListFolderFiles(root_ + QStringLiteral("/two"), QStringLiteral("*.*"), host);
    };
    QCOMPARE(ListFolderFiles(root_ + QStringLiteral("/one"), QStringLiteral("*.*"), host), quiet);
    QCOMPARE(nested, QStringList{root_ + QStringLiteral("/two/c.htm")});
}

QTEST_APPLESS_MAIN(TestFolderScan)
#include "tst_folderscan.moc"
