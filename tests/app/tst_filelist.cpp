#include "app/FmCHM.h"
#include "support/ScriptedHost.h"
#include "toc/ListBox.h"

#include <QSignalSpy>
#include <QTest>

using namespace folvane;

namespace {
constexpr int kDelete = 46;

struct Entry {
    const char* text;
    qint32 marker = 0;
    bool selected = false;
};

struct Window {
    ScriptedHost host;
    FmCHM main{host, PathStyle::Posix};

    void fill(std::initializer_list<Entry> entries, QSet<QString> folders = {}) {
        QList<ListEntry> list;
        for (const Entry& e : entries)
            list.append({QString::fromUtf8(e.text), e.marker, e.selected});
        main.project().restore(std::move(list), {}, std::move(folders));
    }
    void fillNumbered(int count) {
        QList<ListEntry> entries;
        for (int i = 0; i < count; ++i)
            entries.append(ListEntry{QStringLiteral("/old/%1").arg(i), 0, false});
        main.project().restore(std::move(entries), {});
    }
    void pressDelete(int shift = 0) {
        int key = kDelete;
        main.LF_KeyDown(key, shift);
    }
    QStringList texts() const {
        QStringList out;
        for (const ListEntry& e : main.LF.entries())
            out.append(e.text);
        return out;
    }
};
} // namespace

class TestFileList : public QObject {
    Q_OBJECT
private slots:
    void deleteRemovesEverySelectedEntry();
    void deleteNeedsMoreThanOneEntry();
    void otherKeysDoNothing();
    void deleteUpdatesFolderSetForFolderEntriesOnly();
    void clickShowsMarker();
    void dropPutsBatchFirst();
    void emptyDropChangesNothing();
    void dropPastCapacityIsRefused_data();
    void dropPastCapacityIsRefused();
};

void TestFileList::deleteRemovesEverySelectedEntry() {
    Window w;
    w.fill({{"a", 0, true}, {"b"}, {"c", 0, true}, {"d"}});
    QSignalSpy resets(&w.main.LF, &ListBox::wasReset);
    w.pressDelete(1); // Shift does not matter
    QCOMPARE(w.texts(), QStringList({QStringLiteral("b"), QStringLiteral("d")}));
    QCOMPARE(resets.count(), 1);
    QVERIFY(w.main.LF.isVisible());

    // Everything selected: the list empties, although one entry alone cannot be deleted.
    w.main.project().selectableLF().selectAll();
    w.pressDelete();
    QCOMPARE(w.main.LF.count(), 0);
    w.pressDelete();
    QCOMPARE(w.main.LF.count(), 0);
}

void TestFileList::deleteNeedsMoreThanOneEntry() {
    Window w;
    w.fill({{"a", 2, true}}, {QStringLiteral("a")});
    w.pressDelete();
    QCOMPARE(w.texts(), QStringList{QStringLiteral("a")});
    QVERIFY(w.main.FolderSet.contains(QStringLiteral("a")));
}

void TestFileList::otherKeysDoNothing() {
    Window w;
    w.fill({{"a", 0, true}, {"b", 0, true}});
    for (int key : {8, 45, 13, 0}) {
        int code = key;
        w.main.LF_KeyDown(code, 0);
    }
    QCOMPARE(w.main.LF.count(), 2);
}

void TestFileList::deleteUpdatesFolderSetForFolderEntriesOnly() {
    Window w;
    w.fill({{"sub\\pics", 2, true}, {"sub", 1}, {"sub"}, {"SUB", 1}, {"/p/sub", -2}, {"keep"}},
           {QStringLiteral("sub\\pics"), QStringLiteral("sub")});

    w.pressDelete();
    QCOMPARE(w.main.FolderSet, QSet<QString>{QStringLiteral("sub")});

    // A plain or marked file that happens to read "sub" and a folder entry that differs
    // in case leave the set alone.
    w.main.project().selectableLF().setSelected(1, true);
    w.main.project().selectableLF().setSelected(2, true);
    w.main.project().selectableLF().setSelected(3, true);
    w.pressDelete();
    QCOMPARE(w.texts(), QStringList({QStringLiteral("sub"), QStringLiteral("keep")}));
    QCOMPARE(w.main.FolderSet, QSet<QString>{QStringLiteral("sub")});

    w.main.project().selectableLF().setSelected(0, true);
    w.pressDelete();
    QVERIFY(w.main.FolderSet.isEmpty());
}

void TestFileList::clickShowsMarker() {
    Window w;
    w.fill({{"/p/a.htm"}, {"sub\\pics", 2}, {"/p/sub/pics/x.jpg", -3}});
    const QList<QPair<int, QString>> cases = {
        {1, QStringLiteral("2")}, {2, QStringLiteral("-3")}, {0, QStringLiteral("0")}};
    for (const auto& [index, shown] : cases) {
        w.main.project().selectableLF().setListIndex(index);
        w.main.LF_Click();
        QCOMPARE(w.main.Lab(), shown);
    }
    // No current position: the label keeps what it showed.
    w.main.project().selectableLF().setListIndex(-1);
    w.main.LF_Click();
    QCOMPARE(w.main.Lab(), QStringLiteral("0"));
}

void TestFileList::dropPutsBatchFirst() {
    Window w;
    w.fill({{"/p/x", 1, true}, {"/p/y", 0, true}});
    w.main.project().selectableLF().setListIndex(1);
    w.main.LF_OLEDragDrop({QStringLiteral("/d/folder"), QStringLiteral("/d/file.htm"), QStringLiteral("/p/y")});
    QCOMPARE(w.texts(), QStringList({QStringLiteral("/d/folder"), QStringLiteral("/d/file.htm"), QStringLiteral("/p/y"),
                                     QStringLiteral("/p/x")}));
    for (int i = 0; i < w.main.LF.count(); ++i)
        QCOMPARE(w.main.LF.itemData(i), i == 3 ? 1 : 0);
    QCOMPARE(w.main.LF.selectedCount(), 1);
    QVERIFY(w.main.LF.selected(0));
    QCOMPARE(w.main.LF.listIndex(), 0);
    QVERIFY(w.host.prompts().isEmpty());
}

void TestFileList::emptyDropChangesNothing() {
    Window w;
    w.fill({{"/p/x", 1, true}, {"/p/y"}});
    w.main.project().selectableLF().setListIndex(1);
    const QList<ListEntry> before = w.main.LF.entries();
    w.main.LF_OLEDragDrop({});
    QCOMPARE(w.main.LF.entries(), before);
    QCOMPARE(w.main.LF.listIndex(), 1);
    QVERIFY(w.host.prompts().isEmpty());
}

void TestFileList::dropPastCapacityIsRefused_data() {
    QTest::addColumn<int>("oldCount");
    QTest::addColumn<int>("dropped");
    QTest::newRow("full list, one more") << kListCapacity << 1;
    QTest::newRow("one place left, two dropped") << kListCapacity - 1 << 2;
}

void TestFileList::dropPastCapacityIsRefused() {
    QFETCH(int, oldCount);
    QFETCH(int, dropped);
    Window w;
    w.fillNumbered(oldCount);
    w.main.project().selectableLF().setSelected(7, true);
    w.main.project().selectableLF().setListIndex(7);
    const QList<ListEntry> before = w.main.LF.entries();
    QStringList paths;
    for (int i = 0; i < dropped; ++i)
        paths.append(QStringLiteral("/new/%1").arg(i));

    w.main.LF_OLEDragDrop(paths);

    QCOMPARE(w.host.prompts().size(), 1);
    const ScriptedHost::Prompt& p = w.host.prompts().first();
    QCOMPARE(p.icon, MsgIcon::Critical);
    QCOMPARE(p.buttons, MsgButtons::OkOnly);
    QCOMPARE(p.text, QStringLiteral("列表已满：最多只能容纳 32767 项。"));
    QCOMPARE(w.main.LF.entries(), before);
    QCOMPARE(w.main.LF.listIndex(), 7);
}

QTEST_GUILESS_MAIN(TestFileList)
#include "tst_filelist.moc"
