#include "navbuilder/FmContent.h"

#include "app/FmCHM.h"
#include "support/ScriptedHost.h"

#include <QSignalSpy>
#include <QTest>

using namespace folvane;

class TestFmContent : public QObject {
    Q_OBJECT
private slots:
    void defaults();
    void optionGroup();
    void check2DrivesText1();
    void openedByTheMainWindowAndKept();
    void okRunsThePassWithTheSettingsOfItsStart();
};

void TestFmContent::defaults() {
    ScriptedHost host;
    FmCHM main(host, PathStyle::Posix);
    const FmContent& form = main.fmContent();
    QCOMPARE(form.caption(), QStringLiteral("导航栏制作"));
    QCOMPARE(form.O(), 2);
    QCOMPARE(form.T1(), QStringLiteral("<title>"));
    QCOMPARE(form.T2(), QStringLiteral("</title>"));
    QVERIFY(form.Check1());
    QVERIFY(!form.Check3());
    QCOMPARE(form.Spin1(), 4);
    QVERIFY(form.Check2());
    QCOMPARE(form.Text1(), QStringLiteral("jpg;gif;png;bmp;css;js;vbs"));
    QVERIFY(form.Text1Enabled());
    QCOMPARE(form.Text1BackColor(), FmContent::BackColor::WindowBackground);
    QVERIFY(!form.isVisible());
}

void TestFmContent::optionGroup() {
    ScriptedHost host;
    FmCHM main(host, PathStyle::Posix);
    FmContent& form = main.fmContent();
    QSignalSpy changed(&form, &FmContent::changed);
    form.setO(0);
    form.setO(4);
    form.setO(-1);
    form.setO(0);
    QCOMPARE(form.O(), 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(form.settings().titleMode, 0);
}

void TestFmContent::check2DrivesText1() {
    ScriptedHost host;
    FmCHM main(host, PathStyle::Posix);
    FmContent& form = main.fmContent();
    form.setCheck2(false);
    QVERIFY(!form.Text1Enabled());
    QCOMPARE(form.Text1BackColor(), FmContent::BackColor::Menu);
    QVERIFY(!form.settings().excludeTypes);
    form.setCheck2(true);
    QVERIFY(form.Text1Enabled());
    QCOMPARE(form.Text1BackColor(), FmContent::BackColor::WindowBackground);
}

void TestFmContent::openedByTheMainWindowAndKept() {
    ScriptedHost host;
    FmCHM main(host, PathStyle::Posix);
    QSignalSpy loaded(&main, &FmCHM::fmContentLoaded);
    main.Command2_Click();
    QCOMPARE(loaded.size(), 1);
    FmContent& form = main.fmContent();
    QVERIFY(form.isVisible());
    form.setText1(QStringLiteral("css"));
    form.CmdCancel_Click();
    QVERIFY(!form.isVisible());

    QSignalSpy raised(&form, &FmContent::raiseRequested);
    main.Command2_Click();
    main.Command2_Click();
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(raised.size(), 2);
    QCOMPARE(&main.fmContent(), &form);
    QCOMPARE(form.Text1(), QStringLiteral("css"));
}

void TestFmContent::okRunsThePassWithTheSettingsOfItsStart() {
    ScriptedHost host;
    FmCHM main(host, PathStyle::Posix);
    main.project().setComparePath(QStringLiteral("/p"));
    main.project().restore({{QStringLiteral("/p/a.htm"), 0, false}, {QStringLiteral("/p/b.htm"), 0, false}}, {});
    FmContent& form = main.fmContent();
    form.Show();
    host.onDoEvents = [&form] { form.setO(1); };
    form.CmdOK_Click();
    QCOMPARE(main.LB().text(0), QStringLiteral("a"));
    QCOMPARE(main.LB().text(1), QStringLiteral("b"));
    QVERIFY(!form.isVisible());
    QCOMPARE(form.O(), 1);
}

QTEST_GUILESS_MAIN(TestFmContent)
#include "tst_fmcontent.moc"
