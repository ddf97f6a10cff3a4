#include "app/FmCHM.h"
#include "gui/MainWindow.h"
#include "project/FmOption.h"
#include "support/ScriptedHost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {

void writePage(const QString& path, const QString& title) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html><head><title>" + title.toUtf8() + "</title></head><body>x</body></html>");
}

QString focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// A key pressed where the keyboard focus is, as a user presses it.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

// Tabs through the window until the control named `name` has the focus.
bool tabTo(const QString& name) {
    for (int i = 0; i < 20 && focused() != name; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return focused() == name;
}

// What a window manager does when a dialog goes: the window under it is active again.
void returnToMainWindow(QWidget& window) {
    window.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &window);
}

} // namespace

// The whole road with the keyboard alone, in the real window: start, build the contents,
// edit them, set the home page and the title, save, compile, open again and quit.
class TestKeyboardRoad : public QObject {
    Q_OBJECT
private slots:
    void wholeRoadByKeys();
};

void TestKeyboardRoad::wholeRoadByKeys() {
    QTemporaryDir dir;
    const QString site = dir.filePath(QStringLiteral("site"));
    writePage(site + QStringLiteral("/index.htm"), QStringLiteral("首页"));
    writePage(site + QStringLiteral("/a/one.htm"), QStringLiteral("第一"));
    writePage(site + QStringLiteral("/a/two.htm"), QStringLiteral("第二"));

    ScriptedHost host;
    host.setProgramWindowFrame(QRect(100, 50, 640, 480));
    FmCHM form(host, PathStyle::Posix);
    MainWindow window(form, host);
    host.answerFolder(site);
    form.Form_Load();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // "==>" by Tab, then 确定 in "导航栏制作" by Enter.
    QVERIFY(tabTo(QStringLiteral("Command2")));
    press(Qt::Key_Space);
    auto* builder = window.findChild<QWidget*>(QStringLiteral("FmContent"));
    QVERIFY(builder);
    QTRY_COMPARE(QApplication::activeWindow(), builder);
    press(Qt::Key_Return);
    QTRY_VERIFY(!builder->isVisible());
    returnToMainWindow(window);
    const QStringList built = {QStringLiteral("a"), QStringLiteral(" one"), QStringLiteral(" two"),
                               QStringLiteral("index")};
    QStringList texts;
    for (const ListEntry& e : form.LB().entries())
        texts.append(e.text);
    QCOMPARE(texts, built);

    // In the contents: move "two" up, indent and outdent it, rename it, make it the home page.
    QVERIFY(tabTo(QStringLiteral("L1")));
    for (int i = 0; i < 4 && form.LB().listIndex() != 2; ++i)
        press(Qt::Key_Down);
    press(Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(form.LB().text(1), QStringLiteral(" two"));
    press(Qt::Key_Tab);
    QCOMPARE(form.LB().text(1), QStringLiteral("  two"));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focused(), QStringLiteral("L1"));
    host.answerInput(QStringLiteral("第二页"));
    press(Qt::Key_F2);
    QCOMPARE(form.LB().text(1), QStringLiteral(" 第二页"));
    press(Qt::Key_Return);
    QCOMPARE(form.fmOption().co1Text(), QStringLiteral("/a/two.htm"));
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focused(), QStringLiteral("Command3"));

    // "编译设置": type the title, Esc closes it and the title stays.
    press(Qt::Key_T, Qt::ControlModifier);
    auto* options = window.findChild<QWidget*>(QStringLiteral("FmOption"));
    QVERIFY(options);
    QTRY_COMPARE(QApplication::activeWindow(), options);
    QVERIFY(tabTo(QStringLiteral("chmTt")));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Manual"));
    press(Qt::Key_Escape);
    QTRY_VERIFY(!options->isVisible());
    returnToMainWindow(window);
    QCOMPARE(form.fmOption().chmTt(), QStringLiteral("Manual"));

    // Save, compile over the window, open again, quit without a question.
    press(Qt::Key_S, Qt::ControlModifier);
    press(Qt::Key_F9);
    QCOMPARE(host.launches().size(), 1);
    QCOMPARE(host.launches()[0].arguments,
             (QStringList{QStringLiteral("--window=100,50,640,480"), form.projectFilePath()}));
    const QList<ListEntry> saved = form.LB().entries();
    host.answerOpenFiles({form.projectFilePath()});
    press(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(form.LB().count(), saved.size());
    QCOMPARE(form.LB().text(1), QStringLiteral(" 第二页"));
    host.clearPrompts();
    press(Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(host.messageTexts(), QStringList());
}

QTEST_MAIN(TestKeyboardRoad)
#include "tst_keyboardroad.moc"
