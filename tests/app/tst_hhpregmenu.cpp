#include "app/FmCHM.h"
#include "registry/Reg.h"
#include "support/ScriptedHost.h"

#include <QSignalSpy>
#include <QTest>

using namespace folvane;

// The menu item "hhp文件右键编译" flips its check mark and registers or removes the
// right-click compile command for project files.
class TestHhpRegMenu : public QObject {
    Q_OBJECT
private slots:
    void clicksRegisterThenRemove();
    void noFileTypeDoesNothing();
};

void TestHhpRegMenu::clicksRegisterThenRemove() {
    ScriptedHost host;
    host.setProgramFolder(QStringLiteral("/opt/folvane"));
    Reg reg(host.registry());
    reg.RegWriteValue(QStringLiteral(".hhp"), QString(), QStringLiteral("hhp.project"));
    FmCHM form(host, PathStyle::Posix);
    QSignalSpy checks(&form, &FmCHM::hhpRegCheckedChanged);
    QVERIFY(!form.mnHhpRegChecked());

    form.mnHhpReg_Click();
    QVERIFY(form.mnHhpRegChecked());
    const QString verb = QStringLiteral("hhp.project\\shell\\编译(&E)");
    QCOMPARE(reg.RegReadValue(verb, QString()), QStringLiteral("编译(&E)"));
    QCOMPARE(reg.RegReadValue(verb + QStringLiteral("\\command"), QString()),
             QStringLiteral("\"/opt/folvane/hhc\"  \"%1\""));

    form.mnHhpReg_Click();
    QVERIFY(!form.mnHhpRegChecked());
    QCOMPARE(reg.RegReadValue(verb + QStringLiteral("\\command"), QString(), QStringLiteral("gone")),
             QStringLiteral("gone"));
    QCOMPARE(checks.count(), 2);
}

void TestHhpRegMenu::noFileTypeDoesNothing() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.mnHhpReg_Click();
    QVERIFY(form.mnHhpRegChecked());
    QVERIFY(Reg(host.registry()).RegEnumSubKeys(QString()).isEmpty());
}

QTEST_GUILESS_MAIN(TestHhpRegMenu)
#include "tst_hhpregmenu.moc"
