#include "app/FmCHM.h"
#include "gui/MainWindow.h"
#include "project/FmOption.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;
using folvane::fixtures::texts;

namespace {

QString focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// A key pressed where the keyboard focus is, as a user presses it.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

bool tabTo(const QString& name) {
    for (int i = 0; i < 20 && focused() != name; ++i)
        press(Qt::Key_Tab);
    return focused() == name;
}

// What a window manager does when a dialog goes: the window under it is active again.
void backTo(QWidget& window) {
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
    for (const char* page : {"index.htm", "a/one.htm", "a/two.htm"}) {
        QDir(dir.path()).mkpath(QStringLiteral("a"));
        QFile file(dir.filePath(QString::fromLatin1(page)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    ScriptedHost host;
    host.setProgramWindowFrame(QRect(100, 50, 640, 480));
    FmCHM form(host, PathStyle::Posix);
    MainWindow window(form, host);
    host.answerFolder(dir.path());
    form.Form_Load();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // "==>" by Tab and Space, 确定 in "导航栏制作" by Enter.
    QVERIFY(tabTo(QStringLiteral("Command2")));
    press(Qt::Key_Space);
    auto* builder = window.findChild<QWidget*>(QStringLiteral("FmContent"));
    QTRY_COMPARE(QApplication::activeWindow(), builder);
    press(Qt::Key_Return);
    QTRY_VERIFY(!builder->isVisible());
    backTo(window);
    QCOMPARE(texts(form.LB()), (QStringList{QStringLiteral("a"), QStringLiteral(" one"), QStringLiteral(" two"),
                                            QStringLiteral("index")}));

    // In the contents: move "two" up, indent and outdent it, rename it, make it the home page.
    QVERIFY(tabTo(QStringLiteral("L1")));
    for (int i = 0; i < 4 && form.LB().listIndex() != 2; ++i)
        press(Qt::Key_Down);
    press(Qt::Key_Up, Qt::ControlModifier);
    press(Qt::Key_Tab);
    QCOMPARE(form.LB().text(1), QStringLiteral("  two"));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    host.answerInput(QStringLiteral("第二页"));
    press(Qt::Key_F2);
    QCOMPARE(form.LB().text(1), QStringLiteral(" 第二页"));
    press(Qt::Key_Return);
    QCOMPARE(form.fmOption().co1Text(), QStringLiteral("/a/two.htm"));
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focused(), QStringLiteral("Command3"));

    // "编译设置": the title typed, Esc closes it and the title stays.
    press(Qt::Key_T, Qt::ControlModifier);
    auto* options = window.findChild<QWidget*>(QStringLiteral("FmOption"));
    QTRY_COMPARE(QApplication::activeWindow(), options);
    QVERIFY(tabTo(QStringLiteral("chmTt")));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Manual"));
    press(Qt::Key_Escape);
    QVERIFY(!options->isVisible());
    backTo(window);
    QCOMPARE(form.fmOption().chmTt(), QStringLiteral("Manual"));

    // Save, compile over the window, open again, quit without a question.
    press(Qt::Key_S, Qt::ControlModifier);
    press(Qt::Key_F9);
    QCOMPARE(host.launches().size(), 1);
    QCOMPARE(host.launches()[0].arguments,
             (QStringList{QStringLiteral("--window=100,50,640,480"), form.projectFilePath()}));
    host.answerOpenFiles({form.projectFilePath()});
    press(Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(form.LB().text(1), QStringLiteral(" 第二页"));
    // Quitting after a move asks first: 取消 stays, 否 goes.
    press(Qt::Key_Down, Qt::ControlModifier);
    host.clearPrompts();
    host.answerMessage(MsgResult::Cancel);
    press(Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(window.isVisible());
    QCOMPARE(host.messageTexts(), QStringList{QStringLiteral("你的文档还没保存,要保存吗？")});
    host.answerMessage(MsgResult::No);
    press(Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!window.isVisible());
}

QTEST_MAIN(TestKeyboardRoad)
#include "tst_keyboardroad.moc"
