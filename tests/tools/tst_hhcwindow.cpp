#include "hhc/HhcWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace folvane::hhc;

// The compiler's output window: how it closes and what it offers after a compile.
class TestHhcWindow : public QObject {
    Q_OBJECT
public slots:
    void openUrl(const QUrl& url) { opened_.append(url); }

private slots:
    void init() { opened_.clear(); }
    void escAndEnterClose_data();
    void escAndEnterClose();
    void openOffersTheHelpFileAfterSuccess();
    void opensOverTheProgramWindow();

private:
    QList<QUrl> opened_;
};

void TestHhcWindow::escAndEnterClose_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("focusInLog");
    QTest::newRow("Esc") << int(Qt::Key_Escape) << false;
    QTest::newRow("keypad Enter in the log") << int(Qt::Key_Enter) << true;
}

void TestHhcWindow::escAndEnterClose() {
    QFETCH(int, key);
    QFETCH(bool, focusInLog);
    HhcWindow window;
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget* target = window.findChild<QPushButton*>(QStringLiteral("close"));
    QCOMPARE(QApplication::focusWidget(), target);
    if (focusInLog) {
        target = window.findChild<QPlainTextEdit*>(QStringLiteral("output"));
        target->setFocus();
    }
    QSignalSpy closing(&window, &HhcWindow::closing);
    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(closing.size(), 1);
    QVERIFY(!window.isVisible());
}

void TestHhcWindow::openOffersTheHelpFileAfterSuccess() {
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    HhcWindow window;
    window.show();
    auto* open = window.findChild<QPushButton*>(QStringLiteral("open"));
    QCOMPARE(open->text(), QStringLiteral("打开"));
    window.setOutputFile(QStringLiteral("/tmp/帮助 1.chm"));
    window.showResult(false, QStringLiteral("编译失败：…"));
    QVERIFY(!open->isVisible());
    window.showResult(true, QStringLiteral("编译完成：/tmp/帮助 1.chm"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("status"))->text(), QStringLiteral("编译成功"));
    QVERIFY(open->isVisible());
    QTest::mouseClick(open, Qt::LeftButton);
    QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/帮助 1.chm"))});
    QVERIFY(window.isVisible());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

// The program passes its own frame: the output opens in front of it, not in a corner.
void TestHhcWindow::opensOverTheProgramWindow() {
    HhcWindow window;
    const QRect program(200, 150, 1000, 700);
    window.centreOver(program);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Within what a window frame adds on one side.
    QVERIFY((window.frameGeometry().center() - program.center()).manhattanLength() <= 8);
}

QTEST_MAIN(TestHhcWindow)
#include "tst_hhcwindow.moc"
