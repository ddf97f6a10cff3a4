#include "app/FmCHM.h"
#include "gui/ListBoxModel.h"
#include "gui/ListBoxView.h"
#include "gui/MainWindow.h"
#include "project/FmOption.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

using namespace folvane;

using folvane::fixtures::fill;

namespace {
QPoint rowCentre(ListBoxView* view, int row) {
    return view->visualRect(view->model()->index(row, 0)).center();
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controlsHaveTheirCaptions_data();
    void controlsHaveTheirCaptions();
    void menusAndShortcuts();
    void arrowButtonsMoveTheSelection();
    void tabIndentsAndKeepsTheFocus();
    void deleteKeyInFileList();
    void longPathsScrollSideways();
    void dragSortCheckBoxSwapsLists();
    void rightClickRenamesTheEntryUnderThePointer();
    void draggingInSortModeMovesTheEntry();
    void droppedFilesJoinTheFileList();
    void modelFollowsTheList();
    void dialogsAreOwnedByTheMainWindow();

private:
    ScriptedHost* host_ = nullptr;
    FmCHM* form_ = nullptr;
    MainWindow* window_ = nullptr;
};

void TestMainWindow::init() {
    host_ = new ScriptedHost;
    form_ = new FmCHM(*host_, PathStyle::Posix);
    window_ = new MainWindow(*form_, *host_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TestMainWindow::cleanup() {
    delete window_;
    delete form_;
    delete host_;
}

void TestMainWindow::controlsHaveTheirCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Cmd0") << QStringLiteral("Cmd0") << QStringLiteral("添文件");
    QTest::newRow("Cmd1") << QStringLiteral("Cmd1") << QStringLiteral("添文件夹");
    QTest::newRow("Cmd2") << QStringLiteral("Cmd2") << QStringLiteral("编译设置");
    QTest::newRow("Cmd3") << QStringLiteral("Cmd3") << QStringLiteral("编译");
    QTest::newRow("Command1") << QStringLiteral("Command1") << QStringLiteral("+文件夹");
    QTest::newRow("Command2") << QStringLiteral("Command2") << QStringLiteral("==>");
    QTest::newRow("Command3") << QStringLiteral("Command3") << QStringLiteral("匹配选择");
    QTest::newRow("Command4") << QStringLiteral("Command4") << QStringLiteral("替换");
    QTest::newRow("Com0") << QStringLiteral("Com0") << QStringLiteral("→");
    QTest::newRow("Com3") << QStringLiteral("Com3") << QStringLiteral("↓");
}

void TestMainWindow::controlsHaveTheirCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    auto* button = window_->findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), caption);
    // Reached by Tab; a click leaves the focus in the list.
    QCOMPARE(button->focusPolicy(), Qt::TabFocus);
    if (name.startsWith(QStringLiteral("Com")) && name.size() == 4)
        QCOMPARE(button->toolTip(), QStringLiteral("同时按Ctrl可加速"));
    // The caption must fit its button.
    QVERIFY(button->fontMetrics().horizontalAdvance(caption) <= button->width());
    QCOMPARE(window_->windowTitle(), QStringLiteral("Folvane - Simple CHM Maker"));
    QCOMPARE(window_->findChild<QCheckBox*>(QStringLiteral("Check1"))->text(), QStringLiteral("拖动排序,不能多选"));
}

void TestMainWindow::menusAndShortcuts() {
    auto action = [this](const char* name) { return window_->findChild<QAction*>(QString::fromLatin1(name)); };
    QCOMPARE(action("newf")->text(), QStringLiteral("新建项目(&N)"));
    QCOMPARE(action("newf")->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(action("Save")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    // "打开项目(&P)..." between new and save.
    const QList<QAction*> fileItems = window_->findChild<QMenu*>(QStringLiteral("file"))->actions();
    QCOMPARE(fileItems.indexOf(action("openProj")), fileItems.indexOf(action("newf")) + 1);
    QCOMPARE(fileItems.indexOf(action("Save")), fileItems.indexOf(action("newf")) + 2);
    QCOMPARE(action("openProj")->text(), QStringLiteral("打开项目(&P)..."));
    QCOMPARE(action("openProj")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(action("open")->text(), QStringLiteral("编译为CHM(&O)"));
    QVERIFY(action("mnHhpReg")->isCheckable());
    QVERIFY(!action("mnHhpReg")->isChecked());
    QCOMPARE(action("abt")->text(), QStringLiteral("关于(&A).."));
    // The file menu ends with "退出(&X)".
    QCOMPARE(fileItems.constLast(), action("quit"));
    QCOMPARE(action("quit")->text(), QStringLiteral("退出(&X)"));

    // Menu items run the same passes as the buttons.
    fill(form_->LB(), {QStringLiteral("a"), QStringLiteral("b")});
    form_->LB().setSelected(1, true);
    action("Upit")->trigger();
    QCOMPARE(form_->LB().text(0), QStringLiteral("b"));
    action("RtIt")->trigger();
    QCOMPARE(form_->LB().text(0), QStringLiteral(" b"));
}

void TestMainWindow::arrowButtonsMoveTheSelection() {
    fill(form_->LB(), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    form_->LB().setSelected(0, true);
    QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("Com3")), Qt::LeftButton);
    QCOMPARE(form_->LB().text(1), QStringLiteral("a"));
    QVERIFY(window_->tocList(1)->selectionModel()->isRowSelected(1, QModelIndex()));
    QVERIFY(!window_->tocList(1)->selectionModel()->isRowSelected(0, QModelIndex()));
}

void TestMainWindow::tabIndentsAndKeepsTheFocus() {
    fill(form_->LB(), {QStringLiteral("a"), QStringLiteral("b")});
    ListBoxView* toc = window_->tocList(1);
    QTest::mouseClick(toc->viewport(), Qt::LeftButton, {}, rowCentre(toc, 1));
    toc->setFocus();
    QVERIFY(form_->LB().selected(1));
    QTest::keyClick(toc, Qt::Key_Tab);
    QCOMPARE(form_->LB().text(1), QStringLiteral(" b"));
    QVERIFY(toc->hasFocus());
    QTest::keyClick(toc, Qt::Key_Tab);
    QTest::keyClick(toc, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(form_->LB().text(1), QStringLiteral(" b"));
    QVERIFY(toc->hasFocus());
    QCOMPARE(form_->LB().text(0), QStringLiteral("a"));
}

void TestMainWindow::deleteKeyInFileList() {
    fill(form_->project(), {QStringLiteral("/s/a"), QStringLiteral("/s/b"), QStringLiteral("/s/c")});
    ListBoxView* lf = window_->fileList();
    QTest::mouseClick(lf->viewport(), Qt::LeftButton, {}, rowCentre(lf, 1));
    QCOMPARE(window_->findChild<QLabel*>(QStringLiteral("Lab"))->text(), QStringLiteral("1"));
    // Qt's "." shares the Delete key's code; it must not delete.
    QTest::keyClick(lf, Qt::Key_Period);
    QCOMPARE(form_->LF.count(), 3);
    QTest::keyClick(lf, Qt::Key_Delete);
    QCOMPARE(form_->LF.count(), 2);
    QCOMPARE(form_->LF.text(1), QStringLiteral("/s/c"));
}

void TestMainWindow::longPathsScrollSideways() {
    auto* lf = window_->findChild<ListBoxView*>(QStringLiteral("LF"));
    const QString longPath = QStringLiteral("/site/") + QStringLiteral("很长的文件夹名称/").repeated(12) + u"a.htm";
    // The long one past the first row, which alone would size every row.
    fill(form_->project(), {QStringLiteral("/site/short.htm"), longPath});
    QApplication::processEvents();
    const int textWidth = lf->fontMetrics().horizontalAdvance(longPath);
    QVERIFY(lf->visualRect(lf->model()->index(1, 0)).width() >= textWidth);
    QVERIFY(lf->horizontalScrollBar()->maximum() > 0);
    QVERIFY(lf->horizontalScrollBar()->maximum() < textWidth);
}

void TestMainWindow::dragSortCheckBoxSwapsLists() {
    fill(form_->LB(), {QStringLiteral("a"), QStringLiteral("b")});
    auto* check = window_->findChild<QCheckBox*>(QStringLiteral("Check1"));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    QVERIFY(check->isChecked());
    QCOMPARE(form_->lbIndex(), 0);
    QVERIFY(window_->tocList(0)->isVisible());
    QVERIFY(!window_->tocList(1)->isVisible());
    QCOMPARE(window_->tocList(0)->model()->rowCount(), 2);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    QCOMPARE(form_->lbIndex(), 1);
    QVERIFY(window_->tocList(1)->isVisible());
    QCOMPARE(form_->L(0).count(), 0);
}

void TestMainWindow::rightClickRenamesTheEntryUnderThePointer() {
    fill(form_->LB(), {QStringLiteral("a"), QStringLiteral("  Intro")});
    ListBoxView* toc = window_->tocList(1);
    QTest::mouseClick(toc->viewport(), Qt::LeftButton, {}, rowCentre(toc, 0));
    host_->answerInput(QStringLiteral("Start"));
    QTest::mouseClick(toc->viewport(), Qt::RightButton, {}, rowCentre(toc, 1));
    // The box shows the title alone; the new title keeps the entry's depth.
    QCOMPARE(host_->prompts(ScriptedHost::PromptKind::Input).constLast().text, QStringLiteral("更改为:"));
    QCOMPARE(host_->prompts(ScriptedHost::PromptKind::Input).constLast().defaultText, QStringLiteral("Intro"));
    QCOMPARE(form_->LB().text(1), QStringLiteral("  Start"));
    QCOMPARE(form_->LB().text(0), QStringLiteral("a"));
    QCOMPARE(form_->LB().listIndex(), 1);
    QVERIFY(!form_->LB().selected(0));
    // Pointing at no entry renames nothing.
    QTest::mouseClick(toc->viewport(), Qt::RightButton, {}, toc->viewport()->rect().bottomLeft() - QPoint(-5, 5));
    QCOMPARE(host_->prompts(ScriptedHost::PromptKind::Input).size(), 1);
}

void TestMainWindow::draggingInSortModeMovesTheEntry() {
    fill(form_->LB(), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    form_->setCheck1(true);
    ListBoxView* list = window_->tocList(0);
    QVERIFY(list->isVisible());
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    for (int row = 1; row <= 3; ++row)
        QTest::mouseMove(list->viewport(), rowCentre(list, row));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 3));
    const ListBox& toc = form_->L(0);
    QCOMPARE(toc.text(0), QStringLiteral("b"));
    QCOMPARE(toc.text(3), QStringLiteral("a"));
    // The link travels with the text.
    QCOMPARE(toc.itemData(3), 0);
    QCOMPARE(toc.itemData(0), 1);
}

void TestMainWindow::droppedFilesJoinTheFileList() {
    fill(form_->project(), {QStringLiteral("/old/x.htm")});
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QStringLiteral("/drop/a.htm")), QUrl::fromLocalFile(QStringLiteral("/drop"))});
    ListBoxView* lf = window_->fileList();
    const QPoint at = lf->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(lf->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(lf->viewport(), &drop);
    QCOMPARE(form_->LF.count(), 3);
    QCOMPARE(form_->LF.text(0), QStringLiteral("/drop/a.htm"));
    QCOMPARE(form_->LF.text(1), QStringLiteral("/drop"));
    QVERIFY(form_->LF.selected(0));

    // Text is not a file list: nothing changes.
    auto* text = new QMimeData;
    text->setText(QStringLiteral("hello"));
    QDropEvent textDrop(at, Qt::CopyAction, text, Qt::LeftButton, {});
    QApplication::sendEvent(lf->viewport(), &textDrop);
    QCOMPARE(form_->LF.count(), 3);
    delete data;
    delete text;
}

void TestMainWindow::modelFollowsTheList() {
    ListBox list;
    ListBoxModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    list.addItem(QStringLiteral("a"));
    list.addItem(QStringLiteral("b"), 0);
    list.setText(1, QStringLiteral("c"));
    list.removeItem(0);
    fill(list, {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    list.setSelected(1, true);
    list.removeSelected();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(1)).toString(), QStringLiteral("z"));
    list.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestMainWindow::dialogsAreOwnedByTheMainWindow() {
    form_->Cmd_Click(2);
    form_->Command2_Click();
    auto* options = window_->findChild<QWidget*>(QStringLiteral("FmOption"));
    auto* builder = window_->findChild<QWidget*>(QStringLiteral("FmContent"));
    QVERIFY(options && options->isVisible());
    QVERIFY(builder && builder->isVisible());
    QCOMPARE(options->windowTitle(), QStringLiteral("编译设置"));
    QCOMPARE(builder->windowTitle(), QStringLiteral("导航栏制作"));
    // Closing either only hides it: the settings stay with the project.
    form_->fmOption().setChmTt(QStringLiteral("Help"));
    options->close();
    QVERIFY(!options->isVisible());
    builder->close();
    QVERIFY(!builder->isVisible());
    QCOMPARE(window_->findChild<QWidget*>(QStringLiteral("FmContent")), builder);
    form_->Cmd_Click(2);
    QVERIFY(options->isVisible());
    QCOMPARE(options->findChild<QLineEdit*>(QStringLiteral("chmTt"))->text(), QStringLiteral("Help"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
