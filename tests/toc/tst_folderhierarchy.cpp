#include "app/FmCHM.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"

#include <QSignalSpy>
#include <QTest>

using namespace folvane;
using namespace folvane::fixtures;

namespace {
using Prompt = ScriptedHost::Prompt;
using PromptKind = ScriptedHost::PromptKind;

QStringList windowsExample() {
    return {QStringLiteral("C:\\p\\index.htm"), QStringLiteral("C:\\p\\a\\x.htm"), QStringLiteral("C:\\p\\a\\b\\y.htm"),
            QStringLiteral("C:\\p\\a\\z.htm"), QStringLiteral("C:\\p\\c\\w.htm")};
}

QList<int> zeros(qsizetype n) {
    return QList<int>(n, 0);
}

QList<int> upTo(qsizetype n) {
    QList<int> out;
    for (int i = 0; i < n; ++i)
        out.append(i);
    return out;
}
} // namespace

class TestFolderHierarchy : public QObject {
    Q_OBJECT
private slots:
    void foldIt_data();
    void foldIt();
    void secondRunInsertsNothing();
    void deletedFolderEntryComesBack();
    void capacity_data();
    void capacity();

    void folderNode_data();
    void folderNode();
    void replace_data();
    void replace();
    void matchSelection_data();
    void matchSelection();
    void matchSelectionLeavesDragSortFirst();
    void matchSelectionRefusesInvalidPattern();
};

void TestFolderHierarchy::foldIt_data() {
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expectedFiles");
    QTest::addColumn<QList<int>>("expectedMarkers");
    QTest::addColumn<QStringList>("expectedToc");

    QTest::newRow("example") << true << QStringLiteral("C:\\p") << windowsExample()
                             << QStringList{QStringLiteral("C:\\p\\index.htm"),
                                            QStringLiteral("a"),
                                            QStringLiteral("C:\\p\\a\\x.htm"),
                                            QStringLiteral("a\\b"),
                                            QStringLiteral("C:\\p\\a\\b\\y.htm"),
                                            QStringLiteral("C:\\p\\a\\z.htm"),
                                            QStringLiteral("c"),
                                            QStringLiteral("C:\\p\\c\\w.htm")}
                             << QList<int>{0, 1, 0, 2, 0, -2, 1, 0}
                             << QStringList{QStringLiteral("index.htm"), QStringLiteral("a"),
                                            QStringLiteral(" x.htm"),    QStringLiteral(" b"),
                                            QStringLiteral("  y.htm"),   QStringLiteral(" z.htm"),
                                            QStringLiteral("c"),         QStringLiteral(" w.htm")};
    QTest::newRow("file outside the project folder")
        << true << QStringLiteral("C:\\p")
        << QStringList{QStringLiteral("C:\\p\\index.htm"), QStringLiteral("D:\\q\\v.htm")}
        << QStringList{QStringLiteral("C:\\p\\index.htm"), QStringLiteral("D:"), QStringLiteral("D:\\q"),
                       QStringLiteral("D:\\q\\v.htm")}
        << QList<int>{0, 1, 2, 0}
        << QStringList{QStringLiteral("index.htm"), QStringLiteral("D:"), QStringLiteral(" q"),
                       QStringLiteral("  v.htm")};
    // C:\docs2 begins with the text C:\docs but is not inside it.
    QTest::newRow("sibling with a longer name")
        << true << QStringLiteral("C:\\docs")
        << QStringList{QStringLiteral("C:\\docs\\a.htm"), QStringLiteral("C:\\docs2\\b.htm")}
        << QStringList{QStringLiteral("C:\\docs\\a.htm"), QStringLiteral("C:"), QStringLiteral("C:\\docs2"),
                       QStringLiteral("C:\\docs2\\b.htm")}
        << QList<int>{0, 1, 2, 0}
        << QStringList{QStringLiteral("a.htm"), QStringLiteral("C:"), QStringLiteral(" docs2"),
                       QStringLiteral("  b.htm")};
    QTest::newRow("project folder repeated inside")
        << false << QStringLiteral("/data/docs") << QStringList{QStringLiteral("/data/docs/x/data/docs/y.htm")}
        << QStringList{QStringLiteral("x"), QStringLiteral("x/data"), QStringLiteral("x/data/docs"),
                       QStringLiteral("/data/docs/x/data/docs/y.htm")}
        << QList<int>{1, 2, 3, 0}
        << QStringList{QStringLiteral("x"), QStringLiteral(" data"), QStringLiteral("  docs"),
                       QStringLiteral("   y.htm")};
    QTest::newRow("posix file outside") << false << QStringLiteral("/p")
                                        << QStringList{QStringLiteral("/p/a.htm"), QStringLiteral("/other/v.htm")}
                                        << QStringList{QStringLiteral("/p/a.htm"), QStringLiteral("other"),
                                                       QStringLiteral("/other/v.htm")}
                                        << QList<int>{0, 1, 0}
                                        << QStringList{QStringLiteral("a.htm"), QStringLiteral("other"),
                                                       QStringLiteral(" v.htm")};
    QTest::newRow("root as project folder")
        << false << QStringLiteral("/") << QStringList{QStringLiteral("/top.htm"), QStringLiteral("/a/x.htm")}
        << QStringList{QStringLiteral("/top.htm"), QStringLiteral("a"), QStringLiteral("/a/x.htm")}
        << QList<int>{0, 1, 0} << QStringList{QStringLiteral("top.htm"), QStringLiteral("a"), QStringLiteral(" x.htm")};
    // Back in the project folder after a deep one: depth 0 again, wherever the file stands.
    QTest::newRow("back to the top") << false << QStringLiteral("/p")
                                     << QStringList{QStringLiteral("/p/a/b/x.htm"), QStringLiteral("/p/y.htm"),
                                                    QStringLiteral("/p/z.htm")}
                                     << QStringList{QStringLiteral("a"), QStringLiteral("a/b"),
                                                    QStringLiteral("/p/a/b/x.htm"), QStringLiteral("/p/y.htm"),
                                                    QStringLiteral("/p/z.htm")}
                                     << QList<int>{1, 2, 0, -1, 0}
                                     << QStringList{QStringLiteral("a"), QStringLiteral(" b"),
                                                    QStringLiteral("  x.htm"), QStringLiteral("y.htm"),
                                                    QStringLiteral("z.htm")};
}

void TestFolderHierarchy::foldIt() {
    QFETCH(bool, windows);
    QFETCH(QString, project);
    QFETCH(QStringList, files);
    QFETCH(QStringList, expectedFiles);
    ScriptedHost host;
    FmCHM form(host, windows ? PathStyle::Windows : PathStyle::Posix);
    form.project().setComparePath(project);
    fill(form.project(), files, zeros(files.size()));
    fill(form.LB(), {QStringLiteral("old entry")});

    form.FoldIt_Click();

    QCOMPARE(texts(form.LF), expectedFiles);
    QTEST(links(form.LF), "expectedMarkers");
    QTEST(texts(form.LB()), "expectedToc");
    QCOMPARE(links(form.LB()), upTo(expectedFiles.size()));
    QVERIFY(form.LF.isVisible());
    QVERIFY(host.prompts().isEmpty());
}

void TestFolderHierarchy::secondRunInsertsNothing() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Windows);
    form.project().setComparePath(QStringLiteral("C:\\p"));
    fill(form.project(), windowsExample(), zeros(5));
    form.FoldIt_Click();
    const QList<ListEntry> files = form.LF.entries();
    const QStringList toc = texts(form.LB());
    QCOMPARE(form.FolderSet, (QSet<QString>{QStringLiteral("a"), QStringLiteral("a\\b"), QStringLiteral("c")}));

    form.LB().setText(1, QStringLiteral("renamed"));
    form.FoldIt_Click();
    QCOMPARE(form.LF.entries(), files);
    QCOMPARE(texts(form.LB()), toc);
    QCOMPARE(form.FolderSet.size(), 3);
}

void TestFolderHierarchy::deletedFolderEntryComesBack() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Windows);
    form.project().setComparePath(QStringLiteral("C:\\p"));
    fill(form.project(), windowsExample(), zeros(5));
    form.FoldIt_Click();
    form.project().selectableLF().setSelected(6, true); // the folder entry "c"
    int key = 46;
    form.LF_KeyDown(key, 0);
    QVERIFY(!form.project().InFolderSet(QStringLiteral("c")));

    form.FoldIt_Click();
    QCOMPARE(form.LF.text(6), QStringLiteral("c"));
    QCOMPARE(form.LF.itemData(6), 1);
    QCOMPARE(form.LF.count(), 8);
}

void TestFolderHierarchy::capacity_data() {
    QTest::addColumn<int>("rootFiles");
    QTest::addColumn<bool>("accepted");
    // Ten files in ten sub-folders need ten folder entries.
    QTest::newRow("exactly full") << kListCapacity - 20 << true;
    QTest::newRow("one too many") << kListCapacity - 19 << false;
    QTest::newRow("file list already full") << kListCapacity - 10 << false;
}

void TestFolderHierarchy::capacity() {
    QFETCH(int, rootFiles);
    QFETCH(bool, accepted);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(QStringLiteral("/p"));
    QStringList files;
    for (int i = 0; i < rootFiles; ++i)
        files.append(QStringLiteral("/p/f%1.htm").arg(i));
    for (int i = 0; i < 10; ++i)
        files.append(QStringLiteral("/p/d%1/x.htm").arg(i));
    form.project().restore(entriesOf(files, zeros(files.size())), entriesOf({QStringLiteral("old entry")}),
                           {QStringLiteral("kept")});

    form.FoldIt_Click();

    if (accepted) {
        QCOMPARE(form.LF.count(), kListCapacity);
        QCOMPARE(form.LB().count(), kListCapacity);
        QCOMPARE(form.FolderSet.size(), 11);
        QVERIFY(host.prompts().isEmpty());
        return;
    }
    QCOMPARE(texts(form.LF), files);
    QCOMPARE(links(form.LF), zeros(files.size()));
    QCOMPARE(texts(form.LB()), QStringList{QStringLiteral("old entry")});
    QCOMPARE(form.FolderSet, QSet<QString>{QStringLiteral("kept")});
    QCOMPARE(host.prompts().size(), 1);
    QCOMPARE(host.prompts().first().icon, MsgIcon::Critical);
    QVERIFY(host.prompts().first().text.contains(QString::number(kListCapacity)));
    QVERIFY(form.LF.isVisible());
}

void TestFolderHierarchy::folderNode_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expectedDefault");
    QTest::addColumn<QStringList>("expectedTexts");
    QTest::addColumn<QList<int>>("expectedLinks");

    const QStringList toc{QStringLiteral("a"),   QStringLiteral(" b"),      QStringLiteral(" c"),
                          QStringLiteral("  d"), QStringLiteral("  Intro"), QStringLiteral("e")};
    QTest::newRow("default accepted") << 4 << true << QStringLiteral("  Intro") << QStringLiteral("  Intro")
                                      << QStringList{QStringLiteral("a"),       QStringLiteral(" b"),
                                                     QStringLiteral(" c"),      QStringLiteral("  d"),
                                                     QStringLiteral("  Intro"), QStringLiteral("  Intro"),
                                                     QStringLiteral("e")}
                                      << QList<int>{0, 1, 2, 3, -1, 4, 5};
    QTest::newRow("own depth") << 1 << true << QStringLiteral("Part") << QStringLiteral(" b")
                               << QStringList{QStringLiteral("a"),  QStringLiteral("Part"), QStringLiteral(" b"),
                                              QStringLiteral(" c"), QStringLiteral("  d"),  QStringLiteral("  Intro"),
                                              QStringLiteral("e")}
                               << QList<int>{0, -1, 1, 2, 3, 4, 5};
    QTest::newRow("no current entry appends")
        << -1 << true << QStringLiteral("End") << QString() << (toc + QStringList{QStringLiteral("End")})
        << QList<int>{0, 1, 2, 3, 4, 5, -1};
    QTest::newRow("cancelled") << 4 << false << QString() << QStringLiteral("  Intro") << toc
                               << QList<int>{0, 1, 2, 3, 4, 5};
}

void TestFolderHierarchy::folderNode() {
    QFETCH(int, current);
    QFETCH(bool, answered);
    QFETCH(QString, answer);
    QFETCH(QStringList, expectedTexts);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.LB(), {QStringLiteral("a"), QStringLiteral(" b"), QStringLiteral(" c"), QStringLiteral("  d"),
                     QStringLiteral("  Intro"), QStringLiteral("e")});
    form.LB().setListIndex(current);
    form.project().markSaved();
    if (answered)
        host.answerInput(answer);

    form.Command1_Click();

    const QList<Prompt> inputs = host.prompts(PromptKind::Input);
    QCOMPARE(inputs.size(), 1);
    QCOMPARE(inputs[0].text, QStringLiteral("文件夹名:"));
    QCOMPARE(inputs[0].title, QString());
    QTEST(inputs[0].defaultText, "expectedDefault");
    QCOMPARE(texts(form.LB()), expectedTexts);
    QTEST(links(form.LB()), "expectedLinks");
    // A new entry changes the count, and with it the saved state.
    QCOMPARE(form.AskToSave() == 0, !answered);
}

void TestFolderHierarchy::replace_data() {
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("expectedPrompts");
    const QStringList toc{QStringLiteral("Apple pie"), QStringLiteral(" banana"), QStringLiteral("  Cat  nap")};
    QTest::newRow("a removed in both cases")
        << QStringList{QStringLiteral("a"), QString()}
        << QStringList{QStringLiteral("pple pie"), QStringLiteral(" bnn"), QStringLiteral("  Ct  np")} << 2;
    QTest::newRow("one space removes all spaces")
        << QStringList{QStringLiteral(" "), QString()}
        << QStringList{QStringLiteral("Applepie"), QStringLiteral("banana"), QStringLiteral("Catnap")} << 2;
    QTest::newRow("case ignored, replacement as typed")
        << QStringList{QStringLiteral("CAT"), QStringLiteral("dog")}
        << QStringList{QStringLiteral("Apple pie"), QStringLiteral(" banana"), QStringLiteral("  dog  nap")} << 2;
    QTest::newRow("deeper by a space") << QStringList{QStringLiteral(" "), QStringLiteral("  ")}
                                       << QStringList{QStringLiteral("Apple  pie"), QStringLiteral("  banana"),
                                                      QStringLiteral("    Cat    nap")}
                                       << 2;
    QTest::newRow("empty find text asks no more") << QStringList{QString()} << toc << 1;
    QTest::newRow("取消 in the second box replaces nothing") << QStringList{QStringLiteral("a")} << toc << 2;
}

void TestFolderHierarchy::replace() {
    QFETCH(QStringList, answers);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.LB(), {QStringLiteral("Apple pie"), QStringLiteral(" banana"), QStringLiteral("  Cat  nap")}, {7, -1, 3});
    form.LB().setSelected(1, true);
    form.LB().setListIndex(2);
    form.project().markSaved();
    for (const QString& answer : answers)
        host.answerInput(answer);

    form.Command4_Click();

    QTEST(texts(form.LB()), "expected");
    QCOMPARE(links(form.LB()), (QList<int>{7, -1, 3}));
    QCOMPARE(selectedRows(form.LB()), QList<int>{1});
    QCOMPARE(form.SavedFlag, texts(form.LB()) == (QStringList{QStringLiteral("Apple pie"), QStringLiteral(" banana"),
                                                              QStringLiteral("  Cat  nap")}));

    const QList<Prompt> inputs = host.prompts(PromptKind::Input);
    QTEST(int(inputs.size()), "expectedPrompts");
    QCOMPARE(inputs[0].text, QStringLiteral("输入要查找并替换的字符:"));
    QCOMPARE(inputs[0].defaultText, QStringLiteral("  Cat  nap"));
    if (inputs.size() > 1) {
        QCOMPARE(inputs[1].text, QStringLiteral("替换为:"));
        QCOMPARE(inputs[1].defaultText, QStringLiteral("  Cat  nap"));
    }
}

void TestFolderHierarchy::matchSelection_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QList<int>>("expected");
    // The leading spaces are part of the line: "*" covers them, a bare name does not.
    QTest::newRow("*.jpg") << QStringLiteral("*.jpg") << QList<int>{1, 2};
    QTest::newRow("bare name") << QStringLiteral("photo.jpg") << QList<int>{};
    QTest::newRow("with its spaces") << QStringLiteral("  photo.jpg") << QList<int>{1};
    QTest::newRow("upper case") << QStringLiteral("*.JPG") << QList<int>{1, 2};
    QTest::newRow("two elements") << QStringLiteral("*.jpg;*.css") << QList<int>{1, 2, 3};
    QTest::newRow("no widening") << QStringLiteral("jpg") << QList<int>{};
    QTest::newRow("depth by pattern") << QStringLiteral(" [! ]*") << QList<int>{2};
}

void TestFolderHierarchy::matchSelection() {
    QFETCH(QString, answer);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.LB(), {QStringLiteral("index.htm"), QStringLiteral("  photo.jpg"), QStringLiteral(" Pic.JPG"),
                     QStringLiteral("style.css"), QStringLiteral("photo.jpg.htm")});
    select(form.LB(), {0, 4});
    QSignalSpy focus(&form, &FmCHM::listFocusRequested);
    host.answerInput(answer);

    form.Command3_Click();

    QTEST(selectedRows(form.LB()), "expected");
    const QList<Prompt> inputs = host.prompts(PromptKind::Input);
    QCOMPARE(inputs.size(), 1);
    QCOMPARE(inputs[0].text, QStringLiteral("输入匹配字符串:"));
    QCOMPARE(inputs[0].defaultText, QStringLiteral("*.jpg;*.gif;*.css;*.htc"));
    QCOMPARE(inputs[0].title, QString());
    QVERIFY(!inputs[0].positionTwips);
    QCOMPARE(host.prompts().size(), 1);
    QCOMPARE(focus.count(), 1);
    QVERIFY(form.LB().isVisible());
}

void TestFolderHierarchy::matchSelectionLeavesDragSortFirst() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.L(1), {QStringLiteral("a.htm"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")}, {5, 6, 7});
    form.setCheck1(true);
    QCOMPARE(form.lbIndex(), 0);

    form.Command3_Click(); // cancelled: still in drag-sort mode
    QVERIFY(form.Check1());

    host.answerInput(QStringLiteral("*.jpg"));
    form.Command3_Click();
    QVERIFY(!form.Check1());
    QCOMPARE(form.lbIndex(), 1);
    QVERIFY(form.L(1).isVisible());
    QVERIFY(!form.L(0).isVisible());
    QCOMPARE(form.L(0).count(), 0);
    QCOMPARE(links(form.L(1)), (QList<int>{5, 6, 7}));
    QCOMPARE(selectedRows(form.L(1)), (QList<int>{1, 2}));
}

void TestFolderHierarchy::matchSelectionRefusesInvalidPattern() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.LB(), {QStringLiteral("a.jpg"), QStringLiteral("b.htm")});
    select(form.LB(), {1});
    // The first line matches before the invalid element is reached; the second reaches it.
    host.answerInput(QStringLiteral("*.jpg;[b-a]"));

    form.Command3_Click();

    QCOMPARE(selectedRows(form.LB()), QList<int>{1});
    const QList<Prompt> messages = host.prompts(PromptKind::Message);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].icon, MsgIcon::Critical);
    QVERIFY(!messages[0].text.isEmpty());
}

QTEST_GUILESS_MAIN(TestFolderHierarchy)
#include "tst_folderhierarchy.moc"
