#include "forms/ProB.h"
#include "forms/ProgressDriver.h"
#include "gui/ProgressWindow.h"
#include "support/ScriptedHost.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace folvane;

class TestProgressWindow : public QObject {
    Q_OBJECT
private slots:
    void followsTheDriver();
    void cancelButton();
    void dragByBackground();
};

namespace {
ProgressWindow* onlyWindow() {
    ProgressWindow* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<ProgressWindow*>(w); p && p->form())
            found = p;
    return found;
}
} // namespace

void TestProgressWindow::followsTheDriver() {
    ScriptedHost host;
    ProgressDriver driver(host);
    ProgressWindow::follow(driver);
    int percent = 50;
    driver.ReportProgress(percent, QStringLiteral("abc"));
    QPointer<ProgressWindow> window = onlyWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window->windowType(), Qt::Tool);
    QCOMPARE(window->size(), QSize(345, 78));
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("Pro"))->text(), QStringLiteral("50%"));
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("Pro"))->width(), 167); // 2500 twips
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("ST"))->text(), QStringLiteral("abc"));
    QCOMPARE(window->findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("取消"));

    percent = 100;
    driver.ReportProgress(percent, {});
    QVERIFY(!window->isVisible());
    QTRY_VERIFY(!window);
}

void TestProgressWindow::cancelButton() {
    ScriptedHost host;
    ProgressDriver driver(host);
    ProgressWindow::follow(driver);
    int percent = 10;
    driver.ReportProgress(percent, {});
    ProgressWindow* window = onlyWindow();
    QVERIFY(window);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    percent = 20;
    QVERIFY(!driver.ReportProgress(percent, {}));
    QCOMPARE(percent, 100);
}

void TestProgressWindow::dragByBackground() {
    ProB form;
    ProgressWindow window(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* background = window.findChild<QLabel*>(QStringLiteral("Label2"));
    const QPoint start = window.pos();
    QTest::mousePress(background, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(background, QPoint(40, 30));
    QTest::mouseRelease(background, Qt::LeftButton, {}, QPoint(40, 30));
    QCOMPARE(window.pos(), start + QPoint(30, 20));
    QCOMPARE(background->cursor().shape(), Qt::SizeAllCursor);
}

QTEST_MAIN(TestProgressWindow)
#include "tst_progresswindow.moc"
