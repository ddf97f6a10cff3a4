#include "toc/CopyList.h"
#include "toc/ListBox.h"

#include <QTest>

using namespace folvane;

namespace {
QStringList pairs(std::initializer_list<const char*> parts) {
    QStringList out;
    for (const char* s : parts)
        out.append(QString::fromUtf8(s));
    return out;
}

QStringList texts(const ListBox& list) {
    QStringList out;
    for (const ListEntry& e : list.entries())
        out.append(e.text);
    return out;
}

// Four linked entries, 1 and 3 selected.
void fillSource(ListBox& src) {
    const QStringList lines = {QStringLiteral("Intro"), QStringLiteral(" Sec"), QStringLiteral("Part"),
                               QStringLiteral("  Deep")};
    for (const QString& s : lines)
        src.addItem(s);
    src.setItemData(0, 0);
    src.setItemData(1, 4);
    src.setItemData(2, -1);
    src.setItemData(3, 7);
    src.setSelected(1, true);
    src.setSelected(3, true);
}
} // namespace

class TestCopyList : public QObject {
    Q_OBJECT
private slots:
    void replacePairs_data();
    void replacePairs();
    void copiesTextsLinksAndSelections();
    void intoComboSkipsSelectionFlags();
    void intoSingleSelectionKeepsOne();
    void clearSrc();
    void emptySourceEmptiesDestination();
};

void TestCopyList::replacePairs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("replacePairs");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no pairs") << QStringLiteral("Aa x") << QStringList() << QStringLiteral("Aa x");
    QTest::newRow("a to b ignoring case, dangling c ignored")
        << QStringLiteral("Aa cat") << pairs({"a", "b", "c"}) << QStringLiteral("bb cbt");
    QTest::newRow("pairs chain: x to y, then y to z")
        << QStringLiteral("xXy-") << pairs({"x", "y", "y", "z"}) << QStringLiteral("zzz-");
    QTest::newRow("empty find changes nothing, later pairs apply")
        << QStringLiteral("abc") << pairs({"", "Q", "a", "z"}) << QStringLiteral("zbc");
    QTest::newRow("replacement is not scanned again")
        << QStringLiteral("aa") << pairs({"a", "aa"}) << QStringLiteral("aaaa");
    QTest::newRow("empty replacement deletes")
        << QStringLiteral("/P/sub/a.htm\tx") << pairs({"/p/", "", "\t", ""}) << QStringLiteral("sub/a.htmx");
}

void TestCopyList::replacePairs() {
    QFETCH(QString, text);
    QFETCH(QStringList, replacePairs);
    QFETCH(QString, expected);
    ListBox src;
    src.addItem(text);
    src.addItem(text);
    ListBox des;
    CopyList(src, des, false, replacePairs);
    QCOMPARE(texts(des), QStringList({expected, expected}));
    QCOMPARE(texts(src), QStringList({text, text}));
}

void TestCopyList::copiesTextsLinksAndSelections() {
    ListBox src;
    fillSource(src);
    ListBox des;
    des.addItem(QStringLiteral("stale"));
    des.setSelected(0, true);
    CopyList(src, des, false);
    QCOMPARE(des.entries(), src.entries());
}

void TestCopyList::intoComboSkipsSelectionFlags() {
    ListBox src;
    fillSource(src);
    ListBox combo(ListBox::Selection::None);
    CopyList(src, combo, false);
    QCOMPARE(texts(combo), texts(src));
    for (int i = 0; i < src.count(); ++i) {
        QCOMPARE(combo.itemData(i), src.itemData(i));
        QVERIFY(!combo.entries()[i].selected);
    }
    QCOMPARE(src.selectedCount(), 2);
}

void TestCopyList::intoSingleSelectionKeepsOne() {
    ListBox src;
    fillSource(src);
    ListBox single(ListBox::Selection::Single);
    CopyList(src, single, false);
    QCOMPARE(texts(single), texts(src));
    QCOMPARE(single.itemData(3), 7);
    // As if each flag were set in turn: the last one wins and becomes current.
    QCOMPARE(single.selectedCount(), 1);
    QVERIFY(single.selected(3));
    QCOMPARE(single.listIndex(), 3);
}

void TestCopyList::clearSrc() {
    ListBox src;
    fillSource(src);
    const QList<ListEntry> before = src.entries();
    ListBox des;
    CopyList(src, des, true);
    QCOMPARE(src.count(), 0);
    QCOMPARE(des.entries(), before);

    // Copying a list onto itself must not lose it.
    CopyList(des, des, true, pairs({"Sec", "Section"}));
    QCOMPARE(des.count(), 4);
    QCOMPARE(des.text(1), QStringLiteral(" Section"));
}

void TestCopyList::emptySourceEmptiesDestination() {
    ListBox src;
    ListBox des;
    des.addItem(QStringLiteral("old"));
    CopyList(src, des, true, pairs({"a", "b"}));
    QCOMPARE(des.count(), 0);
    QCOMPARE(des.listIndex(), -1);
}

QTEST_GUILESS_MAIN(TestCopyList)
#include "tst_copylist.moc"
