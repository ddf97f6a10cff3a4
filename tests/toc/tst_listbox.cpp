#include "toc/ListBox.h"
#include "util/RuntimeError.h"

#include <QSignalSpy>
#include <QTest>

using namespace folvane;

class TestListBox : public QObject {
    Q_OBJECT
private slots:
    void depthCountsOnlyLeadingSpaces_data();
    void depthCountsOnlyLeadingSpaces();
    void outOfRangeThrows();
    void singleSelectionKeepsOne();
    void comboHasNoSelectionFlags();
    void removeSelectedKeepsOrderAndCurrent();
    void swapExchangesSelectionToo();
    void capacityIsEnforced();
    void batchNotifiesOnce();
};

void TestListBox::depthCountsOnlyLeadingSpaces_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("depth");
    QTest::newRow("three spaces") << QStringLiteral("   ") << 3;
    QTest::newRow("tab first") << QStringLiteral("\t a") << 0;
    QTest::newRow("inner spaces") << QStringLiteral("  a b ") << 2;
    QTest::newRow("empty") << QString() << 0;
}

void TestListBox::depthCountsOnlyLeadingSpaces() {
    QFETCH(QString, text);
    QFETCH(int, depth);
    QCOMPARE(lineDepth(text), depth);
}

void TestListBox::outOfRangeThrows() {
    ListBox list;
    list.addItem(QStringLiteral("a"));
    QCOMPARE(list.text(0), QStringLiteral("a"));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.text(1));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.itemData(-1));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.addItem(QStringLiteral("x"), 3));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.swapEntries(0, 1));
}

void TestListBox::singleSelectionKeepsOne() {
    ListBox list(ListBox::Selection::Single);
    for (const char* s : {"a", "b", "c"})
        list.addItem(QString::fromLatin1(s));
    list.setSelected(0, true);
    list.setSelected(2, true);
    QCOMPARE(list.selectedCount(), 1);
    QVERIFY(list.selected(2));
    QCOMPARE(list.listIndex(), 2);
}

void TestListBox::comboHasNoSelectionFlags() {
    ListBox combo(ListBox::Selection::None);
    combo.addItem(QStringLiteral("a"));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, combo.setSelected(0, true));
}

void TestListBox::removeSelectedKeepsOrderAndCurrent() {
    ListBox list;
    for (const char* s : {"a", "b", "c", "d"})
        list.addItem(QString::fromLatin1(s));
    list.setSelected(0, true);
    list.setSelected(2, true);
    list.setListIndex(3);
    QCOMPARE(list.removeSelected(), 2);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.text(0), QStringLiteral("b"));
    QCOMPARE(list.text(1), QStringLiteral("d"));
    QCOMPARE(list.listIndex(), 1);
}

void TestListBox::swapExchangesSelectionToo() {
    ListBox list;
    list.addItem(QStringLiteral("a"));
    list.addItem(QStringLiteral("b"));
    list.setItemData(0, 7);
    list.setSelected(0, true);
    list.swapEntries(0, 1);
    QCOMPARE(list.text(1), QStringLiteral("a"));
    QCOMPARE(list.itemData(1), 7);
    QVERIFY(list.selected(1));
    QVERIFY(!list.selected(0));
}

void TestListBox::capacityIsEnforced() {
    ListBox list;
    QList<ListEntry> full(kListCapacity, ListEntry{QStringLiteral("x"), 0, false});
    list.setEntries(full);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.addItem(QStringLiteral("y")));
    QCOMPARE(list.count(), kListCapacity);
    full.append(ListEntry{});
    QVERIFY_THROWS_EXCEPTION(RuntimeError, list.setEntries(full));
    QCOMPARE(list.count(), kListCapacity);
}

void TestListBox::batchNotifiesOnce() {
    ListBox list;
    QSignalSpy resets(&list, &ListBox::wasReset);
    QSignalSpy changes(&list, &ListBox::entriesChanged);
    {
        ListBox::Batch batch(list);
        for (int i = 0; i < 100; ++i)
            list.addItem(QString::number(i));
        list.setText(5, QStringLiteral("five"));
    }
    QCOMPARE(resets.count(), 1);
    QCOMPARE(changes.count(), 0);
}

QTEST_GUILESS_MAIN(TestListBox)
#include "tst_listbox.moc"
