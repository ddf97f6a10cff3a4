#include "gui/NavBuilderWindow.h"

#include "app/FmCHM.h"
#include "navbuilder/FmContent.h"
#include "support/ScriptedHost.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {
// The main form, its builder form and the builder window over an owner window.
struct Fixture {
    Fixture() : main(host, PathStyle::Posix), window(main.fmContent(), &owner) { window.show(); }

    template <typename W> W* control(const char* name) const { return window.findChild<W*>(QLatin1String(name)); }

    ScriptedHost host;
    FmCHM main;
    QWidget owner;
    NavBuilderWindow window;
};
} // namespace

class TestNavBuilderWindow : public QObject {
    Q_OBJECT
private slots:
    void controlsAndCaptions();
    void check2EnablesText1();
    void controlsFollowTheFormBothWays();
    void okBuildsTheToc();
    void cancelEscAndCloseOnlyHide();
};

void TestNavBuilderWindow::controlsAndCaptions() {
    Fixture f;
    QCOMPARE(f.window.windowTitle(), QStringLiteral("导航栏制作"));
    QVERIFY(!f.window.isModal());
    QCOMPARE(f.window.parentWidget(), &f.owner);
    QCOMPARE(f.window.windowType(), Qt::Dialog);
    QCOMPARE(f.control<QGroupBox>("Frame1")->title(), QStringLiteral("导航标题"));
    const QStringList options = {QStringLiteral("取"), QStringLiteral("取完整文件名"),
                                 QStringLiteral("取无后缀的文件名"), QStringLiteral("文本文件取非空第1行")};
    for (int i = 0; i < 4; ++i) {
        auto* o = f.window.findChild<QRadioButton*>(QStringLiteral("O%1").arg(i));
        QVERIFY(o);
        QCOMPARE(o->text(), options[i]);
        QCOMPARE(o->isChecked(), i == 2);
        QCOMPARE(o->parentWidget(), f.control<QGroupBox>("Frame1"));
    }
    QCOMPARE(f.control<QLineEdit>("T1")->text(), QStringLiteral("<title>"));
    QCOMPARE(f.control<QLineEdit>("T2")->text(), QStringLiteral("</title>"));
    QCOMPARE(f.control<QLabel>("Label1")->text(), QStringLiteral("与"));
    QCOMPARE(f.control<QLabel>("Label2")->text(), QStringLiteral("之间的字符"));
    QCOMPARE(f.control<QCheckBox>("Check1")->text(), QStringLiteral("应用文件夹层次"));
    QVERIFY(f.control<QCheckBox>("Check1")->isChecked());
    QCOMPARE(f.control<QCheckBox>("Check3")->text(), QStringLiteral("按首页链接顺序"));
    QVERIFY(!f.control<QCheckBox>("Check3")->isChecked());
    QCOMPARE(f.control<QSpinBox>("Spin1")->text(), QStringLiteral("最多 4 层"));
    QVERIFY(!f.control<QSpinBox>("Spin1")->isEnabled());
    QCOMPARE(f.control<QCheckBox>("Check2")->text(), QStringLiteral("不包含文件类型:"));
    QVERIFY(f.control<QCheckBox>("Check2")->isChecked());
    QCOMPARE(f.control<QLineEdit>("Text1")->text(), QStringLiteral("jpg;gif;png;bmp;css;js;vbs"));
    QVERIFY(f.control<QLineEdit>("Text1")->isEnabled());
    QCOMPARE(f.control<QLabel>("Label3")->text(), QStringLiteral("可使用*和?"));
    QCOMPARE(f.control<QPushButton>("CmdOK")->text(), QStringLiteral("确定"));
    QVERIFY(f.control<QPushButton>("CmdOK")->isDefault());
    QCOMPARE(f.control<QPushButton>("CmdCancel")->text(), QStringLiteral("取消"));
    QVERIFY(f.control<QPushButton>("CmdOK")->x() < f.control<QPushButton>("CmdCancel")->x());

    // Tab goes through the controls from top to bottom.
    QStringList tabOrder;
    QWidget* w = f.control<QWidget>("O0");
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            tabOrder.append(w->objectName());
        w = w->nextInFocusChain();
    } while (w != f.control<QWidget>("O0"));
    QCOMPARE(tabOrder, (QStringList{QStringLiteral("O0"), QStringLiteral("T1"), QStringLiteral("T2"),
                                    QStringLiteral("O1"), QStringLiteral("O2"), QStringLiteral("O3"),
                                    QStringLiteral("Check1"), QStringLiteral("Check3"), QStringLiteral("Spin1"),
                                    QStringLiteral("qt_spinbox_lineedit"), QStringLiteral("Check2"),
                                    QStringLiteral("Text1"), QStringLiteral("CmdOK"), QStringLiteral("CmdCancel")}));
}

void TestNavBuilderWindow::check2EnablesText1() {
    Fixture f;
    auto* check2 = f.control<QCheckBox>("Check2");
    auto* text1 = f.control<QLineEdit>("Text1");
    const QPalette standard = QApplication::palette(text1);
    QTest::mouseClick(check2, Qt::LeftButton);
    QVERIFY(!f.main.fmContent().Check2());
    QVERIFY(!text1->isEnabled());
    QCOMPARE(text1->palette().color(QPalette::Base), standard.color(QPalette::Window));
    QTest::mouseClick(check2, Qt::LeftButton);
    QVERIFY(f.main.fmContent().Check2());
    QVERIFY(text1->isEnabled());
    QCOMPARE(text1->palette().color(QPalette::Base), standard.color(QPalette::Base));
}

void TestNavBuilderWindow::controlsFollowTheFormBothWays() {
    Fixture f;
    FmContent& form = f.main.fmContent();
    QTest::mouseClick(f.window.findChild<QRadioButton*>(QStringLiteral("O0")), Qt::LeftButton);
    QCOMPARE(form.O(), 0);
    form.setO(3);
    QVERIFY(f.window.findChild<QRadioButton*>(QStringLiteral("O3"))->isChecked());
    QVERIFY(!f.window.findChild<QRadioButton*>(QStringLiteral("O0"))->isChecked());

    auto* t1 = f.control<QLineEdit>("T1");
    t1->clear();
    QTest::keyClicks(t1, QStringLiteral("<h1>"));
    QCOMPARE(form.T1(), QStringLiteral("<h1>"));
    QTest::keyClicks(f.control<QLineEdit>("Text1"), QStringLiteral(";txt"));
    QCOMPARE(form.Text1(), QStringLiteral("jpg;gif;png;bmp;css;js;vbs;txt"));
    QTest::mouseClick(f.control<QCheckBox>("Check1"), Qt::LeftButton);
    QVERIFY(!form.Check1());
    // The reading order stands in for the folder hierarchy, with its depth.
    QTest::mouseClick(f.control<QCheckBox>("Check3"), Qt::LeftButton);
    QVERIFY(form.Check3());
    QVERIFY(!f.control<QCheckBox>("Check1")->isEnabled());
    auto* spin1 = f.control<QSpinBox>("Spin1");
    QVERIFY(spin1->isEnabled());
    QTest::keyClick(spin1, Qt::Key_Up);
    QCOMPARE(form.settings().depthLimit, 5);
    form.setSpin1(99);
    QCOMPARE(spin1->value(), 20);

    form.setT2(QStringLiteral("</h1>"));
    QCOMPARE(f.control<QLineEdit>("T2")->text(), QStringLiteral("</h1>"));
    form.setCheck2(false);
    QVERIFY(!f.control<QCheckBox>("Check2")->isChecked());
    QVERIFY(!f.control<QLineEdit>("Text1")->isEnabled());
}

void TestNavBuilderWindow::okBuildsTheToc() {
    QTemporaryDir dir;
    auto write = [&dir](const QString& relative, const QByteArray& bytes) {
        const QString path = dir.path() + u'/' + relative;
        QDir().mkpath(path.left(path.lastIndexOf(u'/')));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(QStringLiteral("index.htm"), "<title>Home</title>");
    write(QStringLiteral("guide/intro.htm"), "<TITLE> Intro </TITLE>");
    write(QStringLiteral("guide/logo.png"), "png");

    Fixture f;
    f.main.project().setComparePath(dir.path());
    f.main.project().restore({{dir.path() + QStringLiteral("/index.htm"), 0, false},
                              {dir.path() + QStringLiteral("/guide/intro.htm"), 0, false},
                              {dir.path() + QStringLiteral("/guide/logo.png"), 0, false}},
                             {});
    f.window.hide();
    f.main.Command2_Click();
    QVERIFY(f.window.isVisible());
    QTest::mouseClick(f.window.findChild<QRadioButton*>(QStringLiteral("O0")), Qt::LeftButton);
    QTest::mouseClick(f.control<QPushButton>("CmdOK"), Qt::LeftButton);

    QStringList toc;
    for (const ListEntry& e : f.main.LB().entries())
        toc.append(e.text);
    QCOMPARE(toc, QStringList({QStringLiteral("Home"), QStringLiteral("guide"), QStringLiteral(" Intro")}));
    QVERIFY(f.main.LB().isVisible());
    QVERIFY(!f.window.isVisible());
    QVERIFY(!f.main.fmContent().isVisible());
    QVERIFY(f.host.prompts().isEmpty());
}

void TestNavBuilderWindow::cancelEscAndCloseOnlyHide() {
    Fixture f;
    FmContent& form = f.main.fmContent();
    QVERIFY(form.isVisible());
    form.setO(1);
    QTest::mouseClick(f.control<QPushButton>("CmdCancel"), Qt::LeftButton);
    QVERIFY(!f.window.isVisible());
    QVERIFY(!form.isVisible());

    f.main.Command2_Click();
    QVERIFY(f.window.isVisible());
    QTest::keyClick(&f.window, Qt::Key_Escape);
    QVERIFY(!f.window.isVisible());

    f.window.show();
    QVERIFY(form.isVisible());
    QVERIFY(f.window.close());
    QVERIFY(!f.window.isVisible());
    QVERIFY(!form.isVisible());
    // Nothing was lost: the same window comes back with the user's choice.
    f.main.Command2_Click();
    QVERIFY(f.window.isVisible());
    QVERIFY(f.window.findChild<QRadioButton*>(QStringLiteral("O1"))->isChecked());
    QVERIFY(f.main.LB().count() == 0 && f.host.prompts().isEmpty());
}

QTEST_MAIN(TestNavBuilderWindow)
#include "tst_navbuilderwindow.moc"
