#include "app/FmCHM.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"
#include "util/KeyState.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using namespace folvane;
using namespace folvane::fixtures;

namespace {
constexpr int kIndent = 0;
constexpr int kOutdent = 1;
constexpr int kUp = 2;
constexpr int kDown = 3;
constexpr int kKeyTab = 9;
constexpr int kKeyDelete = 46;
constexpr int kKeyA = 65;

// A form whose TOC is saved, so that a test sees every change of the saved state.
void savedToc(FmCHM& form, const QStringList& texts) {
    fill(form.LB(), texts);
    form.project().markSaved();
}

// Holds Ctrl for `passes` passes of the move command, then lets it go.
void holdCtrlFor(ScriptedHost& host, int passes, const std::function<void(int)>& between = {}) {
    host.setKeyDown(kVkControl, true);
    auto count = std::make_shared<int>(0);
    host.onDoEvents = [&host, passes, between, count] {
        ++*count;
        if (between)
            between(*count);
        if (*count >= passes)
            host.setKeyDown(kVkControl, false);
    };
}
} // namespace

class TestTocEditing : public QObject {
    Q_OBJECT
private slots:
    void passes_data();
    void passes();
    void passWithoutChangeStillUnsaved_data();
    void passWithoutChangeStillUnsaved();
    void dragSortModeMovesTheOneSelected();
    void passNotifiesViewOnce_data();
    void passNotifiesViewOnce();
    void ctrlRepeatsUntilReleased_data();
    void ctrlRepeatsUntilReleased();
    void commandInBetween_data();
    void commandInBetween();
    void deleteKey_data();
    void deleteKey();
    void tabKeys_data();
    void tabKeys();
    void keyPressDropsTab();
    void ctrlASelectsAll();
};

void TestTocEditing::passes_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("passes");
    QTest::addColumn<QStringList>("expectedTexts");
    QTest::addColumn<QList<int>>("expectedLinks");
    QTest::addColumn<QList<int>>("expectedSelected");

    const QStringList six = numbered(6);
    const QList<int> same6{0, 1, 2, 3, 4, 5};
    QTest::newRow("indent at 5 ignores the entry above")
        << QStringList{QStringLiteral("a"), QStringLiteral("     b")} << QList<int>{1} << kIndent << 1
        << QStringList{QStringLiteral("a"), QStringLiteral("      b")} << QList<int>{0, 1} << QList<int>{1};
    QTest::newRow("indent keeps tabs and inner spaces")
        << QStringList{QStringLiteral("\ta b")} << QList<int>{0} << kIndent << 2
        << QStringList{QStringLiteral("  \ta b")} << QList<int>{0} << QList<int>{0};
    QTest::newRow("outdent at 0 unchanged")
        << QStringList{QStringLiteral("a"), QStringLiteral(" b")} << QList<int>{0} << kOutdent << 1
        << QStringList{QStringLiteral("a"), QStringLiteral(" b")} << QList<int>{0, 1} << QList<int>{0};
    QTest::newRow("outdent removes one space only")
        << QStringList{QStringLiteral("   a"), QStringLiteral(" b"), QStringLiteral("c")} << QList<int>{0, 1, 2}
        << kOutdent << 1 << QStringList{QStringLiteral("  a"), QStringLiteral("b"), QStringLiteral("c")}
        << QList<int>{0, 1, 2} << QList<int>{0, 1, 2};
    QTest::newRow("up on entry 0 unchanged") << six << QList<int>{0} << kUp << 1 << six << same6 << QList<int>{0};
    QTest::newRow("down on last unchanged") << six << QList<int>{5} << kDown << 1 << six << same6 << QList<int>{5};
    QTest::newRow("block 2-3 up") << six << QList<int>{2, 3} << kUp << 1
                                  << QStringList{QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("3"),
                                                 QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("5")}
                                  << QList<int>{0, 2, 3, 1, 4, 5} << QList<int>{1, 2};
    QTest::newRow("block 2-3 down") << six << QList<int>{2, 3} << kDown << 1
                                    << QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("4"),
                                                   QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("5")}
                                    << QList<int>{0, 1, 4, 2, 3, 5} << QList<int>{3, 4};
    QTest::newRow("block 2-3 up three times stops at the top")
        << six << QList<int>{2, 3} << kUp << 3
        << QStringList{QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("0"),
                       QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("5")}
        << QList<int>{3, 2, 0, 1, 4, 5} << QList<int>{0, 1};
    QTest::newRow("0-1 up swaps") << six << QList<int>{0, 1} << kUp << 1
                                  << QStringList{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2"),
                                                 QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")}
                                  << QList<int>{1, 0, 2, 3, 4, 5} << QList<int>{0, 1};
    QTest::newRow("0-1 up twice swaps back") << six << QList<int>{0, 1} << kUp << 2 << six << same6 << QList<int>{0, 1};
    QTest::newRow("last two down swaps") << six << QList<int>{4, 5} << kDown << 1
                                         << QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                                        QStringLiteral("3"), QStringLiteral("5"), QStringLiteral("4")}
                                         << QList<int>{0, 1, 2, 3, 5, 4} << QList<int>{4, 5};
    QTest::newRow("separate entries up") << six << QList<int>{1, 4} << kUp << 1
                                         << QStringList{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2"),
                                                        QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("5")}
                                         << QList<int>{1, 0, 2, 4, 3, 5} << QList<int>{0, 3};
    QTest::newRow("unknown index changes nothing") << six << QList<int>{2} << 7 << 1 << six << same6 << QList<int>{2};
}

void TestTocEditing::passes() {
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, selected);
    QFETCH(int, index);
    QFETCH(int, passes);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    savedToc(form, texts);
    select(form.LB(), selected);

    for (int p = 0; p < passes; ++p)
        form.Com_Click(index);

    QTEST(fixtures::texts(form.LB()), "expectedTexts");
    QTEST(links(form.LB()), "expectedLinks");
    QTEST(selectedRows(form.LB()), "expectedSelected");
    QVERIFY(!form.SavedFlag);
    QCOMPARE(host.doEventsCount(), passes);
}

void TestTocEditing::passWithoutChangeStillUnsaved_data() {
    QTest::addColumn<int>("entries");
    QTest::newRow("nothing selected") << 4;
    QTest::newRow("empty TOC") << 0;
}

void TestTocEditing::passWithoutChangeStillUnsaved() {
    QFETCH(int, entries);
    for (int index = kIndent; index <= kDown; ++index) {
        ScriptedHost host;
        FmCHM form(host, PathStyle::Posix);
        savedToc(form, numbered(entries));
        QCOMPARE(form.AskToSave(), 0);
        form.Com_Click(index);
        QCOMPARE(texts(form.LB()), numbered(entries));
        QVERIFY(!form.SavedFlag);
        // Without a project folder the prompt answers No by itself: unsaved, nothing asked.
        QCOMPARE(form.AskToSave(), int(MsgResult::No));
        QVERIFY(host.prompts().isEmpty());
    }
}

void TestTocEditing::dragSortModeMovesTheOneSelected() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.L(1), numbered(4));
    select(form.L(1), {1});
    form.setCheck1(true);
    QCOMPARE(form.lbIndex(), 0);
    form.Com_Click(kDown);
    QCOMPARE(texts(form.L(0)),
             (QStringList{QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("3")}));
    QCOMPARE(selectedRows(form.L(0)), QList<int>{2});
    QCOMPARE(form.L(1).count(), 0);
}

void TestTocEditing::passNotifiesViewOnce_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("indent") << kIndent;
    QTest::newRow("outdent") << kOutdent;
    QTest::newRow("up") << kUp;
    QTest::newRow("down") << kDown;
}

void TestTocEditing::passNotifiesViewOnce() {
    QFETCH(int, index);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    QStringList texts;
    for (int i = 0; i < kListCapacity; ++i)
        texts.append(QStringLiteral("   entry"));
    fill(form.LB(), texts);
    form.LB().selectAll();
    form.LB().setSelected(0, false); // so that up and down move something

    QSignalSpy changed(&form.LB(), &ListBox::entriesChanged);
    QSignalSpy reset(&form.LB(), &ListBox::wasReset);
    QElapsedTimer timer;
    timer.start();
    holdCtrlFor(host, 3);
    form.Com_Click(index);
    // Three passes over a full list: a pass that went quadratic would take minutes.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(host.doEventsCount(), 3);
    QCOMPARE(changed.count() + reset.count(), 3);
}

void TestTocEditing::ctrlRepeatsUntilReleased_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("passes");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("indent 4 times") << kIndent << 4
                                    << QStringList{QStringLiteral("0"), QStringLiteral("    1"), QStringLiteral("2"),
                                                   QStringLiteral("3"), QStringLiteral("4"),     QStringLiteral("5")};
    QTest::newRow("down 3 times") << kDown << 3
                                  << QStringList{QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("3"),
                                                 QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("5")};
    QTest::newRow("up past the top stays")
        << kUp << 5 << QStringList{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("2"),
                                   QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")};
}

void TestTocEditing::ctrlRepeatsUntilReleased() {
    QFETCH(int, index);
    QFETCH(int, passes);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.LB(), numbered(6));
    select(form.LB(), {1});
    holdCtrlFor(host, passes);
    form.Com_Click(index);
    QTEST(texts(form.LB()), "expected");
    QCOMPARE(host.doEventsCount(), passes);
    QVERIFY(!form.SavedFlag);
}

// Commands clicked between two passes change the lists under the running repetition.
void TestTocEditing::commandInBetween_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("expectedL0");
    QTest::addColumn<QStringList>("expectedL1");
    QTest::addColumn<int>("expectedLbIndex");
    QTest::newRow("new project") << QStringLiteral("new") << QStringList() << QStringList() << 1;
    QTest::newRow("delete") << QStringLiteral("delete") << QStringList()
                            << QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("4")} << 1;
    QTest::newRow("mode switch") << QStringLiteral("dragsort")
                                 << QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral(" 2"),
                                                QStringLiteral("   3"), QStringLiteral("4")}
                                 << QStringList() << 0;
    QTest::newRow("same button again") << QStringLiteral("again") << QStringList()
                                       << QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("   2"),
                                                      QStringLiteral("   3"), QStringLiteral("4")}
                                       << 1;
}

void TestTocEditing::commandInBetween() {
    QFETCH(QString, command);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(QStringLiteral("/p"));
    fill(form.LB(), numbered(5));
    select(form.LB(), {2, 3});
    host.answerMessage(MsgResult::No); // the save question of a new project
    bool inside = false;
    holdCtrlFor(host, 3, [&](int pass) {
        if (pass != 1 || inside)
            return;
        inside = true;
        if (command == QStringLiteral("new")) {
            form.newf_Click();
        } else if (command == QStringLiteral("delete")) {
            int key = kKeyDelete;
            form.L_KeyDown(1, key, 0);
        } else if (command == QStringLiteral("dragsort")) {
            form.setCheck1(true);
        } else {
            // A second click while Ctrl is still held: it repeats inside this one, one pass more.
            host.setKeyDown(kVkControl, false);
            form.Com_Click(kIndent);
            host.setKeyDown(kVkControl, true);
        }
        inside = false;
    });
    form.Com_Click(kIndent);

    QTEST(texts(form.L(0)), "expectedL0");
    QTEST(texts(form.L(1)), "expectedL1");
    QTEST(form.lbIndex(), "expectedLbIndex");
    QVERIFY(!form.SavedFlag);
}

void TestTocEditing::deleteKey_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QList<int>>("expectedLinks");
    QTest::newRow("one entry does nothing") << 1 << QList<int>{0} << 0 << QList<int>{0};
    QTest::newRow("all of five empties") << 5 << QList<int>{0, 1, 2, 3, 4} << 0 << QList<int>();
    QTest::newRow("some of five") << 5 << QList<int>{1, 3} << 0 << QList<int>{0, 2, 4};
    QTest::newRow("with Shift and Ctrl") << 5 << QList<int>{4} << 3 << QList<int>{0, 1, 2, 3};
    QTest::newRow("nothing selected") << 3 << QList<int>() << 0 << QList<int>{0, 1, 2};
}

void TestTocEditing::deleteKey() {
    QFETCH(int, entries);
    QFETCH(QList<int>, selected);
    QFETCH(int, shift);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.project(), numbered(entries));
    savedToc(form, numbered(entries));
    select(form.LB(), selected);

    int key = kKeyDelete;
    form.L_KeyDown(1, key, shift);

    QTEST(links(form.LB()), "expectedLinks");
    QStringList expectedTexts;
    for (int link : links(form.LB()))
        expectedTexts.append(QString::number(link));
    QCOMPARE(texts(form.LB()), expectedTexts);
    QCOMPARE(form.LF.count(), entries); // only the TOC loses entries
    QCOMPARE(form.SavedFlag, form.LB().count() == entries);
}

void TestTocEditing::tabKeys_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("expectedKeyCode");
    QTest::addColumn<bool>("expectedSaved");
    QTest::newRow("Tab indents") << QStringLiteral(" a") << 0 << QStringLiteral("  a") << 0 << false;
    QTest::newRow("Shift+Tab outdents") << QStringLiteral(" a") << 1 << QStringLiteral("a") << 0 << false;
    QTest::newRow("Shift+Tab at depth 0") << QStringLiteral("a") << 1 << QStringLiteral("a") << 0 << false;
    QTest::newRow("Ctrl+Tab not handled") << QStringLiteral(" a") << 2 << QStringLiteral(" a") << kKeyTab << true;
    QTest::newRow("Ctrl+Shift+Tab not handled") << QStringLiteral(" a") << 3 << QStringLiteral(" a") << kKeyTab << true;
    QTest::newRow("Alt+Tab not handled") << QStringLiteral(" a") << 4 << QStringLiteral(" a") << kKeyTab << true;
}

void TestTocEditing::tabKeys() {
    QFETCH(QString, text);
    QFETCH(int, shift);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    savedToc(form, {QStringLiteral("x"), text});
    select(form.LB(), {1});

    int key = kKeyTab;
    form.L_KeyDown(0, key, shift); // the list's index does not matter: the keys act on LB

    QFETCH(QString, expectedText);
    QCOMPARE(texts(form.LB()), (QStringList{QStringLiteral("x"), expectedText}));
    QTEST(key, "expectedKeyCode");
    QTEST(form.SavedFlag, "expectedSaved");
}

void TestTocEditing::keyPressDropsTab() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    int tab = kKeyTab;
    form.L_KeyPress(1, tab);
    QCOMPARE(tab, 0);
    int letter = 'a';
    form.L_KeyPress(1, letter);
    QCOMPARE(letter, int('a'));
}

void TestTocEditing::ctrlASelectsAll() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fill(form.LB(), numbered(4));
    select(form.LB(), {1});
    QSignalSpy focus(&form, &FmCHM::listFocusRequested);

    int key = kKeyA;
    form.L_KeyDown(1, key, 2);
    QCOMPARE(selectedRows(form.LB()), (QList<int>{0, 1, 2, 3}));
    QCOMPARE(focus.count(), 1);

    // Plain A is the list's own key.
    for (int i = 0; i < 4; ++i)
        form.LB().setSelected(i, i == 2);
    key = kKeyA;
    form.L_KeyDown(1, key, 0);
    QCOMPARE(selectedRows(form.LB()), QList<int>{2});
    QCOMPARE(key, kKeyA);

    // Drag-sort mode keeps its single selection.
    form.setCheck1(true);
    key = kKeyA;
    form.L_KeyDown(0, key, 2);
    QCOMPARE(selectedRows(form.LB()), QList<int>{2});
    QCOMPARE(form.LB().count(), 4);
}

QTEST_GUILESS_MAIN(TestTocEditing)
#include "tst_tocediting.moc"
