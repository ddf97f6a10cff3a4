#include "app/FmCHM.h"
#include "project/FmOption.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"

#include <QSignalSpy>
#include <QTest>

using namespace folvane;
using namespace folvane::fixtures;

namespace {
using Prompt = ScriptedHost::Prompt;
using PromptKind = ScriptedHost::PromptKind;

constexpr int kLeft = 1;
constexpr int kRight = 2;

// Drag-sort mode over "0".."n-1", entry i linked to 10 + i.
void dragSortToc(FmCHM& form, int n) {
    QList<int> linkValues;
    for (int i = 0; i < n; ++i)
        linkValues.append(10 + i);
    fill(form.L(1), numbered(n), linkValues);
    form.setCheck1(true);
}

// Moves the pointer over the given positions of L(0) with the left button held.
void dragOver(FmCHM& form, const QList<int>& positions) {
    for (int pos : positions) {
        form.L(0).setListIndex(pos);
        form.L_MouseMove(0, kLeft, 0);
    }
}

QStringList asTexts(const QList<int>& numbers) {
    QStringList out;
    for (int n : numbers)
        out.append(QString::number(n));
    return out;
}
} // namespace

class TestGestures : public QObject {
    Q_OBJECT
private slots:
    void modeSwitch();
    void drag_data();
    void drag();
    void dragIgnoresOtherButtonsAndLists();
    void rename_data();
    void rename();
    void renameInDragSortMode();
    void renameAfterAMoveFindsTheMovedEntry();
    void clickShowsLink();
    void doubleClick_data();
    void doubleClick();
};

void TestGestures::modeSwitch() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.L(1), numbered(5), {4, 3, 2, 1, -1});
    select(form.L(1), {1, 2, 3});
    form.project().markSaved();
    QSignalSpy lbChanged(&form, &FmCHM::lbChanged);

    form.setCheck1(true);
    QCOMPARE(form.lbIndex(), 0);
    QCOMPARE(&form.LB(), &form.L(0));
    QVERIFY(form.L(0).isVisible());
    QVERIFY(!form.L(1).isVisible());
    QCOMPARE(form.L(1).count(), 0);
    QCOMPARE(texts(form.L(0)), numbered(5));
    QCOMPARE(links(form.L(0)), (QList<int>{4, 3, 2, 1, -1}));
    QCOMPARE(selectedRows(form.L(0)).size(), 1);
    const int kept = selectedRows(form.L(0)).first();
    QVERIFY(kept >= 1 && kept <= 3);

    form.setCheck1(false);
    QCOMPARE(form.lbIndex(), 1);
    QVERIFY(!form.L(0).isVisible());
    QVERIFY(form.L(1).isVisible());
    QCOMPARE(form.L(0).count(), 0);
    QCOMPARE(texts(form.L(1)), numbered(5));
    QCOMPARE(links(form.L(1)), (QList<int>{4, 3, 2, 1, -1}));
    QCOMPARE(selectedRows(form.L(1)), QList<int>{kept});

    QCOMPARE(lbChanged.count(), 2);
    form.setCheck1(false); // no change, no switch
    QCOMPARE(lbChanged.count(), 2);
    QCOMPARE(form.AskToSave(), 0);
}

void TestGestures::drag_data() {
    QTest::addColumn<int>("pressed");
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("0 to 3 slowly") << 0 << QList<int>{1, 2, 3} << QList<int>{1, 2, 3, 0, 4};
    QTest::newRow("4 to 1 slowly") << 4 << QList<int>{3, 2, 1} << QList<int>{0, 4, 1, 2, 3};
    QTest::newRow("0 to 3 at once") << 0 << QList<int>{3} << QList<int>{3, 1, 2, 0, 4};
    QTest::newRow("released where pressed") << 2 << QList<int>{2, 2} << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("there and back") << 1 << QList<int>{2, 3, 2, 1} << QList<int>{0, 1, 2, 3, 4};
}

void TestGestures::drag() {
    QFETCH(int, pressed);
    QFETCH(QList<int>, path);
    QFETCH(QList<int>, expected);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    dragSortToc(form, 5);
    form.project().markSaved();

    form.L(0).setListIndex(pressed);
    form.L_MouseDown(0, kLeft, 0);
    QCOMPARE(form.DragIndex, pressed);
    dragOver(form, path);
    form.L_MouseUp(0, kLeft, 0);

    QCOMPARE(texts(form.L(0)), asTexts(expected));
    QList<int> expectedLinks;
    for (int n : expected)
        expectedLinks.append(10 + n); // every title keeps its own page
    QCOMPARE(links(form.L(0)), expectedLinks);
    QCOMPARE(selectedRows(form.L(0)), QList<int>{path.last()});
    QVERIFY(host.prompts().isEmpty());
    // Every step that moved an entry is an edit, also when a later one moves it back.
    QCOMPARE(form.SavedFlag, path == QList<int>(path.size(), pressed));
}

void TestGestures::dragIgnoresOtherButtonsAndLists() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    dragSortToc(form, 4);
    form.L(0).setListIndex(0);
    form.L_MouseDown(0, kLeft, 0);

    // Both buttons held, or the right one alone: no drag step.
    form.L(0).setListIndex(2);
    form.L_MouseMove(0, kLeft | kRight, 0);
    form.L_MouseMove(0, kRight, 0);
    form.L_MouseMove(0, 0, 0);
    QCOMPARE(texts(form.L(0)), numbered(4));
    QCOMPARE(form.DragIndex, 0);

    // A press with another button does not start a drag.
    form.L_MouseDown(0, kRight, 0);
    form.L_MouseDown(0, kLeft | kRight, 0);
    QCOMPARE(form.DragIndex, 0);

    // The multi-selection list has no drag-sort.
    form.setCheck1(false);
    form.L(1).setListIndex(3);
    form.L_MouseDown(1, kLeft, 0);
    QCOMPARE(form.DragIndex, 0);
    form.L(1).setListIndex(1);
    form.L_MouseMove(1, kLeft, 0);
    QCOMPARE(texts(form.L(1)), numbered(4));
}

void TestGestures::rename_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expectedDefault");
    QTest::addColumn<QStringList>("expected");
    const QStringList toc{QStringLiteral("a"), QStringLiteral("  Intro"), QStringLiteral(" c")};
    // The box asks for the title; the entry keeps its depth whatever spaces are typed.
    QTest::newRow("title at the entry's depth")
        << 1 << true << QStringLiteral("Start") << QStringLiteral("Intro")
        << QStringList{QStringLiteral("a"), QStringLiteral("  Start"), QStringLiteral(" c")};
    QTest::newRow("typed spaces do not move it")
        << 2 << true << QStringLiteral("    x") << QStringLiteral("c")
        << QStringList{QStringLiteral("a"), QStringLiteral("  Intro"), QStringLiteral(" x")};
    QTest::newRow("same title") << 1 << true << QStringLiteral("Intro") << QStringLiteral("Intro") << toc;
    QTest::newRow("cancelled") << 1 << false << QString() << QStringLiteral("Intro") << toc;
    QTest::newRow("no current entry: nothing to ask") << -1 << true << QStringLiteral("Lost") << QString() << toc;
}

void TestGestures::rename() {
    QFETCH(int, current);
    QFETCH(bool, answered);
    QFETCH(QString, answer);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.LB(), {QStringLiteral("a"), QStringLiteral("  Intro"), QStringLiteral(" c")}, {5, 6, 7});
    select(form.LB(), {0, 1, 2});
    form.LB().setListIndex(current);
    form.project().markSaved();
    if (answered)
        host.answerInput(answer);

    form.L_MouseUp(1, kLeft, 0); // the left button renames nothing
    QVERIFY(host.prompts().isEmpty());
    form.L_MouseUp(1, kRight, 0);

    const QList<Prompt> inputs = host.prompts(PromptKind::Input);
    QCOMPARE(inputs.size(), current < 0 ? 0 : 1);
    if (current >= 0) {
        QCOMPARE(inputs[0].text, QStringLiteral("更改为:"));
        QCOMPARE(inputs[0].title, QString());
        QTEST(inputs[0].defaultText, "expectedDefault");
    }
    QTEST(texts(form.LB()), "expected");
    QCOMPARE(links(form.LB()), (QList<int>{5, 6, 7}));
    QCOMPARE(selectedRows(form.LB()), (QList<int>{0, 1, 2}));
    QCOMPARE(form.LB().listIndex(), current);
    QCOMPARE(form.SavedFlag,
             texts(form.LB()) == QStringList({QStringLiteral("a"), QStringLiteral("  Intro"), QStringLiteral(" c")}));
}

void TestGestures::renameInDragSortMode() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    dragSortToc(form, 3);
    form.L(0).setListIndex(2);
    host.answerInput(QStringLiteral("two"));
    form.L_MouseUp(0, kRight, 0);
    QCOMPARE(texts(form.L(0)), (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("two")}));
    QCOMPARE(links(form.L(0)), (QList<int>{10, 11, 12}));
}

void TestGestures::renameAfterAMoveFindsTheMovedEntry() {
    // Clicked entry 2, then "↑" twice and "↓" once: the current entry goes with it.
    for (const int list : {1, 0}) {
        ScriptedHost host;
        FmCHM form(host, PathStyle::Posix);
        fill(form.L(1), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
        form.setCheck1(list == 0);
        form.LB().setSelected(2, true);
        form.LB().setListIndex(2);
        form.Com_Click(2);
        form.Com_Click(2);
        form.Com_Click(3);
        QCOMPARE(form.LB().listIndex(), 1);
        host.answerInput(QStringLiteral("C"));
        form.L_MouseUp(list, kRight, 0);
        QCOMPARE(texts(form.LB()),
                 (QStringList{QStringLiteral("a"), QStringLiteral("C"), QStringLiteral("b"), QStringLiteral("d")}));
    }
}

void TestGestures::clickShowsLink() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.L(1), numbered(3), {7, -1, 0});
    QSignalSpy lab(&form, &FmCHM::labChanged);

    form.L(1).setListIndex(0);
    form.L_Click(1);
    QCOMPARE(form.Lab(), QStringLiteral("7"));
    form.L(1).setListIndex(1);
    form.L_Click(1);
    QCOMPARE(form.Lab(), QStringLiteral("-1"));
    QCOMPARE(lab.count(), 2);

    form.L(1).setListIndex(-1);
    form.L_Click(1);
    form.L_Click(0); // the hidden, empty list
    QCOMPARE(form.Lab(), QStringLiteral("-1"));
    QCOMPARE(lab.count(), 2);
}

void TestGestures::doubleClick_data() {
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("expectedHome");
    QTest::addColumn<QList<int>>("expectedSelected");
    const QString before = QStringLiteral("before.htm");

    QTest::newRow("topic") << false << QStringLiteral("/p")
                           << QStringList{QStringLiteral("/p/index.htm"), QStringLiteral("/p/a/x.htm")} << 1
                           << QStringLiteral("/a/x.htm") << QList<int>{1};
    QTest::newRow("windows topic") << true << QStringLiteral("C:\\p")
                                   << QStringList{QStringLiteral("C:\\p\\index.htm"), QStringLiteral("C:\\p\\a\\x.htm")}
                                   << 1 << QStringLiteral("\\a\\x.htm") << QList<int>{1};
    QTest::newRow("no project folder") << false << QString()
                                       << QStringList{QStringLiteral("/p/index.htm"), QStringLiteral("/p/a/x.htm")} << 1
                                       << QStringLiteral("/p/a/x.htm") << QList<int>{1};
    QTest::newRow("outside the project folder")
        << false << QStringLiteral("/p") << QStringList{QStringLiteral("/p/index.htm"), QStringLiteral("/q/v.htm")} << 1
        << QStringLiteral("/q/v.htm") << QList<int>{1};
    QTest::newRow("sibling with a longer name")
        << true << QStringLiteral("C:\\docs")
        << QStringList{QStringLiteral("C:\\docs\\index.htm"), QStringLiteral("C:\\docs2\\b.htm")} << 1
        << QStringLiteral("C:\\docs2\\b.htm") << QList<int>{1};
    QTest::newRow("project folder repeated inside")
        << false << QStringLiteral("/data/docs")
        << QStringList{QStringLiteral("/data/docs/index.htm"), QStringLiteral("/data/docs/x/data/docs/y.htm")} << 1
        << QStringLiteral("/x/data/docs/y.htm") << QList<int>{1};
    QTest::newRow("root as project folder")
        << false << QStringLiteral("/") << QStringList{QStringLiteral("/index.htm"), QStringLiteral("/a/x.htm")} << 1
        << QStringLiteral("/a/x.htm") << QList<int>{1};
    QTest::newRow("folder node") << false << QStringLiteral("/p")
                                 << QStringList{QStringLiteral("/p/index.htm"), QStringLiteral("/p/a/x.htm")} << -1
                                 << before << QList<int>{};
    QTest::newRow("link past the file list")
        << false << QStringLiteral("/p") << QStringList{QStringLiteral("/p/index.htm"), QStringLiteral("/p/a/x.htm")}
        << 9 << before << QList<int>{};
}

void TestGestures::doubleClick() {
    QFETCH(bool, windows);
    QFETCH(QString, project);
    QFETCH(QStringList, files);
    QFETCH(int, link);
    ScriptedHost host;
    FmCHM form(host, windows ? PathStyle::Windows : PathStyle::Posix);
    form.project().setComparePath(project);
    fill(form.project(), files, QList<int>(files.size(), 0));
    form.project().selectableLF().setSelected(0, true);
    form.project().selectableLF().setListIndex(0);
    fill(form.LB(), {QStringLiteral("Home"), QStringLiteral("Page")}, {0, link});
    form.LB().setListIndex(1);
    form.fmOption().setCo1Text(QStringLiteral("before.htm"));
    QSignalSpy shown(&form, &FmCHM::showOptionsRequested);

    form.L_DblClick(1);

    QTEST(form.fmOption().co1Text(), "expectedHome");
    QTEST(selectedRows(form.LF), "expectedSelected");
    if (link >= 0 && link < files.size())
        QCOMPARE(form.LF.listIndex(), link);
    QCOMPARE(shown.count(), 0); // the dialog keeps the value without being shown
    QCOMPARE(texts(form.LF), files);
    QVERIFY(host.prompts().isEmpty());
}

QTEST_GUILESS_MAIN(TestGestures)
#include "tst_gestures.moc"
