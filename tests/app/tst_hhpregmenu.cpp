#include "app/FmCHM.h"
#include "project/DesktopRegistration.h"
#include "registry/Reg.h"
#include "support/ScriptedHost.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

// The menu item "hhp文件右键编译": with Windows paths it writes the shell verb to the registry
// and flips its check mark; on the desktop the check mark shows what is registered.
class TestHhpRegMenu : public QObject {
    Q_OBJECT
private slots:
    void init();
    void windowsClicksRegisterThenRemove();
    void windowsWithoutFileTypeStillFlips();
    void desktopCheckMarkFollowsRegistration();
    void desktopCheckMarkStaysOffWhenNothingCanBeWritten();

private:
    std::unique_ptr<QTemporaryDir> xdg_;
};

void TestHhpRegMenu::init() {
    xdg_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", xdg_->filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", xdg_->filePath(QStringLiteral("config")).toUtf8());
}

void TestHhpRegMenu::windowsClicksRegisterThenRemove() {
    ScriptedHost host;
    host.setProgramFolder(QStringLiteral("C:\\Folvane"));
    Reg reg(host.registry());
    reg.RegWriteValue(QStringLiteral(".hhp"), QString(), QStringLiteral("hhp.project"));
    FmCHM form(host, PathStyle::Windows);
    QSignalSpy checks(&form, &FmCHM::hhpRegCheckedChanged);
    QVERIFY(!form.mnHhpRegChecked());

    form.mnHhpReg_Click();
    QVERIFY(form.mnHhpRegChecked());
    const QString verb = QStringLiteral("hhp.project\\shell\\编译(&E)");
    QCOMPARE(reg.RegReadValue(verb, QString()), QStringLiteral("编译(&E)"));
    QCOMPARE(reg.RegReadValue(verb + QStringLiteral("\\command"), QString()),
             QStringLiteral("\"C:\\Folvane\\hhc.exe\"  \"%1\""));

    form.mnHhpReg_Click();
    QVERIFY(!form.mnHhpRegChecked());
    QCOMPARE(reg.RegReadValue(verb + QStringLiteral("\\command"), QString(), QStringLiteral("gone")),
             QStringLiteral("gone"));
    QCOMPARE(checks.count(), 2);
    QVERIFY(!QFile::exists(DesktopRegistration(host, DesktopRegistration::userFolders()).entryPath()));
}

void TestHhpRegMenu::windowsWithoutFileTypeStillFlips() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Windows);
    form.mnHhpReg_Click();
    QVERIFY(form.mnHhpRegChecked());
    QVERIFY(Reg(host.registry()).RegEnumSubKeys(QString()).isEmpty());
}

void TestHhpRegMenu::desktopCheckMarkFollowsRegistration() {
    ScriptedHost host;
    host.setProgramFolder(QStringLiteral("/opt/folvane"));
    const DesktopRegistration desktop(host, DesktopRegistration::userFolders());
    {
        FmCHM form(host, PathStyle::Posix);
        form.Form_Load();
        QVERIFY(!form.mnHhpRegChecked());
        form.mnHhpReg_Click();
        QVERIFY(form.mnHhpRegChecked());
    }
    QFile entry(desktop.entryPath());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(entry.readAll().contains("\nExec=/opt/folvane/hhc --window %f\n"));
    QVERIFY(Reg(host.registry()).RegEnumSubKeys(QString()).isEmpty());

    // The next start shows what is registered.
    FmCHM restarted(host, PathStyle::Posix);
    QSignalSpy checks(&restarted, &FmCHM::hhpRegCheckedChanged);
    restarted.Form_Load();
    QCOMPARE(checks.value(0).value(0).toBool(), true);
    restarted.mnHhpReg_Click();
    QVERIFY(!restarted.mnHhpRegChecked());
    QVERIFY(!desktop.isRegistered());
    QVERIFY(!QFile::exists(desktop.mimePackagePath()));
    QVERIFY(!QFile::exists(desktop.defaultsPath()));
}

void TestHhpRegMenu::desktopCheckMarkStaysOffWhenNothingCanBeWritten() {
    QFile blocker(xdg_->filePath(QStringLiteral("data")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScriptedHost host;
    host.setProgramFolder(QStringLiteral("/opt/folvane"));
    FmCHM form(host, PathStyle::Posix);
    form.mnHhpReg_Click();
    QVERIFY(!form.mnHhpRegChecked());
    QVERIFY(host.messageTexts().isEmpty());
    QVERIFY(!QFile::exists(DesktopRegistration(host, DesktopRegistration::userFolders()).defaultsPath()));
}

QTEST_GUILESS_MAIN(TestHhpRegMenu)
#include "tst_hhpregmenu.moc"
