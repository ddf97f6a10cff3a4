#include "gui/AboutWindow.h"
#include "support/ScriptedHost.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace folvane;

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsAfterLoad();
    void escapeClosesOnKeyUp();
    void otherKeysKeepItOpen();
    void labelsOpenAddresses();
    void doubleClickSelectsEmail();
    void iconShownAndStandardBoxWholeTitle();
};

void TestAboutWindow::controlsAfterLoad() {
    ScriptedHost host;
    host.setProgramName(QStringLiteral("Folvane"));
    AboutWindow window(host, nullptr);
    QVERIFY(window.isModal());
    QCOMPARE(window.windowTitle(), QStringLiteral("关于 Folvane --By Dorvantis"));
    for (const char* name : {"Img", "Label1", "Label2", "Text2", "label4", "Label5", "Label9", "Label6", "Text1",
                             "Label3", "Label7", "Label12", "Label11", "Label8", "Command1", "Line1", "Line2"})
        QVERIFY2(window.findChild<QWidget*>(QLatin1String(name)), name);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Folvane"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Ver: 1.0.24"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label9"))->toolTip(), QStringLiteral("访问我的主页"));
    QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("Inf"));
    QCOMPARE(host.beeps(), 1);
}

void TestAboutWindow::escapeClosesOnKeyUp() {
    ScriptedHost host;
    AboutWindow window(host, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* email = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    email->setFocus();
    QTest::keyPress(email, Qt::Key_Escape);
    QVERIFY(window.isVisible()); // not on the press
    QTest::keyRelease(email, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void TestAboutWindow::otherKeysKeepItOpen() {
    ScriptedHost host;
    AboutWindow window(host, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_A);
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(window.isVisible());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

void TestAboutWindow::labelsOpenAddresses() {
    ScriptedHost host;
    AboutWindow window(host, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("Label9")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("Label7")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("Label9")), Qt::RightButton);
    QCOMPARE(host.openedUrls(), QStringList({QStringLiteral("https://folvane.example.org/"),
                                             QStringLiteral("https://folvane.example.org/contact")}));
}

void TestAboutWindow::doubleClickSelectsEmail() {
    ScriptedHost host;
    AboutWindow window(host, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* email = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    email->deselect();
    QTest::mouseDClick(email, Qt::LeftButton, {}, QPoint(5, email->height() / 2));
    QCOMPARE(email->selectedText(), email->text());
    QVERIFY(!email->text().isEmpty());
}

void TestAboutWindow::iconShownAndStandardBoxWholeTitle() {
    ScriptedHost host;
    host.setProgramName(QStringLiteral("Folvane"));
    AboutWindow window(host, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.findChild<QLabel*>(QStringLiteral("Img"))->pixmap().isNull());

    // "Inf": a box of two short lines, still wide enough for its title beside the title bar's buttons.
    QString title;
    bool hasIcon = false;
    int room = 0;
    QTimer::singleShot(0, &window, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        hasIcon = !box->iconPixmap().isNull();
        room = box->width() - box->fontMetrics().horizontalAdvance(title);
        box->accept();
    });
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("关于 Folvane"));
    QVERIFY(hasIcon);
    QVERIFY2(room >= 150, qPrintable(QString::number(room)));
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
