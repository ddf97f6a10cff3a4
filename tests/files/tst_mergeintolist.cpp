#include "files/MergeIntoList.h"
#include "toc/ListBox.h"
#include "util/RuntimeError.h"

#include <QSignalSpy>
#include <QTest>

using namespace folvane;

Q_DECLARE_METATYPE(folvane::PathStyle)

namespace {
QStringList texts(const ListBox& list) {
    QStringList out;
    for (const ListEntry& e : list.entries())
        out.append(e.text);
    return out;
}

void fill(ListBox& list, const QStringList& items) {
    for (const QString& s : items)
        list.addItem(s);
}

// Old entries with markers and selections, as the folder-hierarchy step leaves them.
void fillMarked(ListBox& list) {
    fill(list, {QStringLiteral("/p/a.htm"), QStringLiteral("sub"), QStringLiteral("/p/sub/b.htm")});
    list.setItemData(1, 1);
    list.setItemData(2, -2);
    list.setSelected(1, true);
    list.setSelected(2, true);
    list.setListIndex(2);
}

void fillNumbered(ListBox& list, int count) {
    QList<ListEntry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.append(ListEntry{QStringLiteral("/old/%1.htm").arg(i), 0, false});
    list.setEntries(std::move(entries));
}

QStringList numberedBatch(const QString& prefix, int count) {
    QStringList batch;
    for (int i = 0; i < count; ++i)
        batch.append(prefix + QString::number(i));
    return batch;
}
} // namespace

class TestMergeIntoList : public QObject {
    Q_OBJECT
private slots:
    void order_data();
    void order();
    void oldEntriesKeepTheirMarkers();
    void selectIndex_data();
    void selectIndex();
    void emptyItemsLeavesListUntouched();
    void capacityRefusalLeavesListUnchanged();
    void batchThatFitsExactlyIsAccepted();
    void reAddingToFullListSucceeds();
};

void TestMergeIntoList::order_data() {
    QTest::addColumn<QStringList>("old");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("keepOld");
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QStringList>("expected");

    const auto l = [](std::initializer_list<const char*> items) {
        QStringList out;
        for (const char* s : items)
            out.append(QString::fromUtf8(s));
        return out;
    };

    QTest::newRow("windows: case-equal old entry dropped")
        << l({"a", "B"}) << l({"b", "c"}) << true << PathStyle::Windows << l({"b", "c", "a"});
    QTest::newRow("posix: case differs, both kept")
        << l({"a", "B"}) << l({"b", "c"}) << true << PathStyle::Posix << l({"b", "c", "a", "B"});
    QTest::newRow("windows: full paths ignore case")
        << l({"C:\\Site\\A.htm", "C:\\site\\x.htm"}) << l({"c:\\site\\a.HTM"}) << true << PathStyle::Windows
        << l({"c:\\site\\a.HTM", "C:\\site\\x.htm"});
    QTest::newRow("posix: exact match dropped")
        << l({"/s/a.htm", "/s/A.htm"}) << l({"/s/a.htm"}) << true << PathStyle::Posix << l({"/s/a.htm", "/s/A.htm"});
    QTest::newRow("old duplicates survive")
        << l({"a", "a"}) << l({"b"}) << true << PathStyle::Windows << l({"b", "a", "a"});
    QTest::newRow("batch duplicates survive")
        << QStringList() << l({"b", "b"}) << true << PathStyle::Posix << l({"b", "b"});
    QTest::newRow("whole entries only, no substring match")
        << l({"a", "ab.htm", "b"}) << l({"a.htm", "b"}) << true << PathStyle::Posix << l({"a.htm", "b", "a", "ab.htm"});
    QTest::newRow("empty pieces stay") << l({"z"}) << l({"a", "", "b"}) << true << PathStyle::Posix
                                       << l({"a", "", "b", "z"});
    QTest::newRow("keepOld false replaces") << l({"a", "b"}) << l({"c"}) << false << PathStyle::Posix << l({"c"});
}

void TestMergeIntoList::order() {
    QFETCH(QStringList, old);
    QFETCH(QStringList, items);
    QFETCH(bool, keepOld);
    QFETCH(PathStyle, style);
    QFETCH(QStringList, expected);

    ListBox list;
    fill(list, old);
    MergeIntoList(items, list, keepOld, -1, style);
    QCOMPARE(texts(list), expected);
}

void TestMergeIntoList::oldEntriesKeepTheirMarkers() {
    ListBox list;
    fillMarked(list);
    MergeIntoList({QStringLiteral("/p/new.htm")}, list, true, -1, PathStyle::Posix);
    QCOMPARE(texts(list), QStringList({QStringLiteral("/p/new.htm"), QStringLiteral("/p/a.htm"), QStringLiteral("sub"),
                                       QStringLiteral("/p/sub/b.htm")}));
    // A folder entry that became a plain one would go into the project's file list.
    QCOMPARE(list.itemData(0), 0);
    QCOMPARE(list.itemData(2), 1);
    QCOMPARE(list.itemData(3), -2);
    QCOMPARE(list.selectedCount(), 0);
    QCOMPARE(list.listIndex(), -1);
}

void TestMergeIntoList::selectIndex_data() {
    QTest::addColumn<int>("selectIndex");
    QTest::addColumn<int>("selected"); // expected current and only selected position, -1 for none
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("2") << 2 << 2;
    QTest::newRow("-1 selects nothing") << -1 << -1;
    QTest::newRow("past the end selects nothing") << 9 << -1;
}

void TestMergeIntoList::selectIndex() {
    QFETCH(int, selectIndex);
    QFETCH(int, selected);
    ListBox list;
    fillMarked(list);
    MergeIntoList({QStringLiteral("n1"), QStringLiteral("n2")}, list, true, selectIndex, PathStyle::Posix);
    QCOMPARE(list.count(), 5);
    QCOMPARE(list.listIndex(), selected);
    QCOMPARE(list.selectedCount(), selected < 0 ? 0 : 1);
    if (selected >= 0)
        QVERIFY(list.selected(selected));
}

void TestMergeIntoList::emptyItemsLeavesListUntouched() {
    ListBox list;
    fillMarked(list);
    const QList<ListEntry> before = list.entries();
    QSignalSpy resets(&list, &ListBox::wasReset);
    MergeIntoList({}, list, false, 0, PathStyle::Posix);
    QCOMPARE(list.entries(), before);
    QCOMPARE(list.listIndex(), 2);
    QCOMPARE(resets.count(), 0);
}

void TestMergeIntoList::capacityRefusalLeavesListUnchanged() {
    ListBox list;
    fillNumbered(list, kListCapacity - 7);
    list.setItemData(0, 3);
    list.setSelected(5, true);
    list.setListIndex(5);
    const QList<ListEntry> before = list.entries();

    // 8 new paths would make 32768.
    try {
        MergeIntoList(numberedBatch(QStringLiteral("/new/"), 8), list, true, 0, PathStyle::Posix);
        QFAIL("the merge was not refused");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), int(RuntimeError::ListFull));
        QVERIFY(e.description().contains(QString::number(kListCapacity)));
    }
    QCOMPARE(list.entries(), before);
    QCOMPARE(list.listIndex(), 5);

    // Without the old entries the batch alone must fit.
    list.clear();
    QVERIFY_THROWS_EXCEPTION(RuntimeError, MergeIntoList(numberedBatch(QStringLiteral("/new/"), kListCapacity + 1),
                                                         list, false, 0, PathStyle::Posix));
    QCOMPARE(list.count(), 0);
}

void TestMergeIntoList::batchThatFitsExactlyIsAccepted() {
    ListBox list;
    fillNumbered(list, kListCapacity - 7);
    MergeIntoList(numberedBatch(QStringLiteral("/new/"), 7), list, true, 0, PathStyle::Posix);
    QCOMPARE(list.count(), kListCapacity);
    QCOMPARE(list.text(0), QStringLiteral("/new/0"));
    QCOMPARE(list.text(kListCapacity - 1), QStringLiteral("/old/%1.htm").arg(kListCapacity - 8));
}

void TestMergeIntoList::reAddingToFullListSucceeds() {
    // Paths already listed replace themselves: the count does not grow.
    ListBox list;
    fillNumbered(list, kListCapacity);
    MergeIntoList({QStringLiteral("/old/100.htm"), QStringLiteral("/OLD/1.htm")}, list, true, 0, PathStyle::Windows);
    QCOMPARE(list.count(), kListCapacity);
    QCOMPARE(list.text(0), QStringLiteral("/old/100.htm"));
    QCOMPARE(list.text(1), QStringLiteral("/OLD/1.htm"));
    QCOMPARE(list.text(2), QStringLiteral("/old/0.htm"));
    QCOMPARE(list.text(3), QStringLiteral("/old/2.htm"));
}

QTEST_GUILESS_MAIN(TestMergeIntoList)
#include "tst_mergeintolist.moc"
