#include "project/ShellRegistration.h"

#include "project/CompilerCommand.h"
#include "registry/MemoryRegistryBackend.h"
#include "registry/Reg.h"
#include "support/ScriptedHost.h"

#include <QTest>

#include <memory>

using namespace folvane;

namespace {

const QString kType = QStringLiteral("hhp.file");
const QString kVerbKey = QStringLiteral("hhp.file\\shell\\编译(&E)");
const QString kCommandKey = QStringLiteral("hhp.file\\shell\\编译(&E)\\command");
const QString kBackupKey = QStringLiteral("hhp.file\\shell_Old\\编译(&E)\\command");
const QString kOurCommand = QStringLiteral("\"/opt/folvane/hhc\"  \"%1\"");
const QString kForeign = QStringLiteral("\"C:\\Windows\\notepad.exe\" \"%1\"");

// Every key below a path with its default value, for comparing whole trees.
void dump(Reg& reg, const QString& path, QStringList& out) {
    for (const QString& name : reg.RegEnumSubKeys(path)) {
        const QString key = path.isEmpty() ? name : path + QLatin1Char('\\') + name;
        out.append(key + QLatin1Char('=') + reg.RegReadValue(key, QString(), QStringLiteral("<unset>")));
        dump(reg, key, out);
    }
}

QStringList dump(RegistryBackend& backend) {
    Reg reg(backend);
    QStringList out;
    dump(reg, QString(), out);
    return out;
}

} // namespace

class TestShellRegistration : public QObject {
    Q_OBJECT
private slots:
    void init();
    void prepareVerbCommand_data();
    void prepareVerbCommand();
    void compilerCommand_data();
    void compilerCommand();
    void registersOnAFreshType();
    void foreignCommandIsBackedUpAndRestored();
    void ownCommandInOtherCaseIsReplacedWithoutBackup();
    void removalDropsTheWholeBackupKey();
    void removalWithoutCommandChangesNothing();
    void missingFileTypeChangesNothing();
    void twoClicksInARow();
    void hostProvidesTheRegistry();

private:
    RegistryBackend& backend();
    ShellRegistration& shell();
    Reg& reg();

    std::unique_ptr<RegistryBackend> backend_;
    std::unique_ptr<ShellRegistration> shell_;
    std::unique_ptr<Reg> reg_;
};

void TestShellRegistration::init() {
    reg_.reset();
    shell_.reset();
    backend_.reset();
}

RegistryBackend& TestShellRegistration::backend() {
    if (!backend_)
        backend_ = std::make_unique<MemoryRegistryBackend>();
    return *backend_;
}

ShellRegistration& TestShellRegistration::shell() {
    if (!shell_)
        shell_ = std::make_unique<ShellRegistration>(backend(), PathStyle::Posix);
    return *shell_;
}

Reg& TestShellRegistration::reg() {
    if (!reg_) {
        reg_ = std::make_unique<Reg>(backend());
        reg_->RegWriteValue(QStringLiteral(".hhp"), QString(), kType);
    }
    return *reg_;
}

void TestShellRegistration::prepareVerbCommand_data() {
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("prepared");
    QTest::addColumn<QString>("exeName");
    QTest::newRow("program command") << true << QStringLiteral("\"C:\\Program Files\\Fol.vane\\hhc.exe\"")
                                     << QStringLiteral("\"C:\\Program Files\\Fol.vane\\hhc.exe\"  \"%1\"")
                                     << QStringLiteral("hhc");
    QTest::newRow("has %1") << true << QStringLiteral("\"C:\\x\\hhc.exe\" \"%1\"")
                            << QStringLiteral("\"C:\\x\\hhc.exe\" \"%1\"") << QStringLiteral("hhc");
    QTest::newRow("argument with a path")
        << true << QStringLiteral("\"C:\\x\\hhc.exe\" /o \"D:\\out.dir\\%1\"")
        << QStringLiteral("\"C:\\x\\hhc.exe\" /o \"D:\\out.dir\\%1\"") << QStringLiteral("hhc");
    QTest::newRow("unquoted") << true << QStringLiteral("C:\\tools\\notepad.exe")
                              << QStringLiteral("C:\\tools\\notepad.exe  \"%1\"") << QStringLiteral("notepad");
    QTest::newRow("lower-case %") << true << QStringLiteral("a.exe %l") << QStringLiteral("a.exe %l  \"%1\"")
                                  << QStringLiteral("a");
    QTest::newRow("Posix compiler") << false << QStringLiteral("\"/opt/fol.vane/hhc\"")
                                    << QStringLiteral("\"/opt/fol.vane/hhc\"  \"%1\"") << QStringLiteral("hhc");
}

void TestShellRegistration::prepareVerbCommand() {
    QFETCH(bool, windows);
    QFETCH(QString, command);
    QFETCH(QString, prepared);
    QFETCH(QString, exeName);
    MemoryRegistryBackend memory;
    ShellRegistration shell(memory, windows ? PathStyle::Windows : PathStyle::Posix);
    QCOMPARE(shell.PrepareVerbCommand(command), exeName);
    QCOMPARE(command, prepared);
    QCOMPARE(shell.VerbExeName(), exeName);
}

void TestShellRegistration::compilerCommand_data() {
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("command");
    QTest::newRow("windows") << true << QStringLiteral("C:\\Tools\\Folvane")
                             << QStringLiteral("\"C:\\Tools\\Folvane\\hhc.exe\"");
    QTest::newRow("windows root") << true << QStringLiteral("C:\\") << QStringLiteral("\"C:\\hhc.exe\"");
    QTest::newRow("posix") << false << QStringLiteral("/opt/folvane") << QStringLiteral("\"/opt/folvane/hhc\"");
    QTest::newRow("posix root") << false << QStringLiteral("/") << QStringLiteral("\"/hhc\"");
}

void TestShellRegistration::compilerCommand() {
    QFETCH(bool, windows);
    QFETCH(QString, folder);
    QFETCH(QString, command);
    CompilerCommand compiler(folder, windows ? PathStyle::Windows : PathStyle::Posix);
    QCOMPARE(compiler.quotedProgram(), command);
    compiler.setReplaceAnyOutput(true);
    QCOMPARE(compiler.commandLine(QStringLiteral("D:\\s\\a.hhp")),
             windows ? command + QStringLiteral(" --force \"D:\\s\\a.hhp\"") : QString());
}

void TestShellRegistration::registersOnAFreshType() {
    reg();
    shell().applyHhpRegistration(true, QStringLiteral("/opt/folvane"));
    QCOMPARE(reg().RegReadValue(kVerbKey, QString()), QStringLiteral("编译(&E)"));
    QCOMPARE(reg().RegReadValue(kCommandKey, QString()), kOurCommand);
    QCOMPARE(reg().RegEnumSubKeys(kType), QStringList{QStringLiteral("shell")});
    // Registering again (a first click of the next run) writes the same and backs up nothing.
    shell().applyHhpRegistration(true, QStringLiteral("/opt/folvane"));
    QCOMPARE(reg().RegEnumSubKeys(kType), QStringList{QStringLiteral("shell")});
    QCOMPARE(reg().RegReadValue(kCommandKey, QString()), kOurCommand);
}

void TestShellRegistration::foreignCommandIsBackedUpAndRestored() {
    reg().RegWriteValue(kVerbKey, QString(), QStringLiteral("Their caption"));
    reg().RegWriteValue(kCommandKey, QString(), kForeign);
    shell().applyHhpRegistration(true, QStringLiteral("/opt/folvane"));
    QCOMPARE(reg().RegReadValue(kBackupKey, QString()), kForeign);
    QCOMPARE(reg().RegReadValue(kCommandKey, QString()), kOurCommand);
    QCOMPARE(reg().RegReadValue(kVerbKey, QString()), QStringLiteral("编译(&E)"));

    shell().applyHhpRegistration(false, QStringLiteral("/opt/folvane"));
    QCOMPARE(reg().RegReadValue(kCommandKey, QString()), kForeign);
    // The verb's caption is not part of the backup.
    QCOMPARE(reg().RegReadValue(kVerbKey, QString(), QStringLiteral("<unset>")), QStringLiteral("<unset>"));
    QCOMPARE(reg().RegEnumSubKeys(kType), QStringList{QStringLiteral("shell")});
}

void TestShellRegistration::ownCommandInOtherCaseIsReplacedWithoutBackup() {
    reg().RegWriteValue(kCommandKey, QString(), QStringLiteral("\"D:\\Other Copy\\HHC.EXE\"  \"%1\""));
    shell().applyHhpRegistration(true, QStringLiteral("/opt/folvane"));
    QCOMPARE(reg().RegReadValue(kCommandKey, QString()), kOurCommand);
    QCOMPARE(reg().RegEnumSubKeys(kType), QStringList{QStringLiteral("shell")});
    // Removal then leaves no verb at all: there was nothing to put back.
    shell().applyHhpRegistration(false, QStringLiteral("/opt/folvane"));
    QCOMPARE(reg().RegEnumSubKeys(kType + QStringLiteral("\\shell")), QStringList());
}

void TestShellRegistration::removalDropsTheWholeBackupKey() {
    reg().RegWriteValue(kCommandKey, QString(), kOurCommand);
    reg().RegWriteValue(kBackupKey, QString(), kForeign);
    reg().RegWriteValue(QStringLiteral("hhp.file\\shell_Old"), QString(), QStringLiteral("open"));
    reg().RegWriteValue(QStringLiteral("hhp.file\\shell_Old\\print\\command"), QString(), QStringLiteral("p %1"));
    reg().RegWriteValue(QStringLiteral("hhp.file\\shell\\open\\command"), QString(), QStringLiteral("o %1"));
    shell().UnregisterVerb(QStringLiteral("hhp"), QStringLiteral("编译(&E)"));
    const QStringList expected = {
        QStringLiteral(".hhp=hhp.file"),
        QStringLiteral("hhp.file=<unset>"),
        QStringLiteral("hhp.file\\shell=open"),
        QStringLiteral("hhp.file\\shell\\open=<unset>"),
        QStringLiteral("hhp.file\\shell\\open\\command=o %1"),
        QStringLiteral("hhp.file\\shell\\编译(&E)=<unset>"),
        QStringLiteral("hhp.file\\shell\\编译(&E)\\command=") + kForeign,
    };
    QCOMPARE(dump(backend()), expected);
}

void TestShellRegistration::removalWithoutCommandChangesNothing() {
    reg();
    shell().applyHhpRegistration(false, QStringLiteral("/opt/folvane"));
    const QStringList nothing = dump(backend());
    QCOMPARE(nothing, QStringList{QStringLiteral(".hhp=hhp.file")});

    // An empty command with a backup beside it: the backup stays too.
    reg().RegWriteValue(kVerbKey, QString(), QStringLiteral("编译(&E)"));
    reg().RegWriteValue(kCommandKey, QString(), QString());
    reg().RegWriteValue(kBackupKey, QString(), kForeign);
    const QStringList before = dump(backend());
    shell().UnregisterVerb(QStringLiteral("hhp"), QStringLiteral("编译(&E)"));
    QCOMPARE(dump(backend()), before);
}

void TestShellRegistration::missingFileTypeChangesNothing() {
    Reg direct(backend());
    shell().applyHhpRegistration(true, QStringLiteral("/opt/folvane"));
    shell().applyHhpRegistration(false, QStringLiteral("/opt/folvane"));
    QCOMPARE(dump(backend()), QStringList());

    // An empty file type is no file type either.
    direct.RegWriteValue(QStringLiteral(".hhp"), QString(), QString());
    direct.RegWriteValue(QStringLiteral("shell\\编译(&E)\\command"), QString(), kForeign);
    const QStringList before = dump(backend());
    shell().applyHhpRegistration(true, QStringLiteral("/opt/folvane"));
    QCOMPARE(dump(backend()), before);
    shell().applyHhpRegistration(false, QStringLiteral("/opt/folvane"));
    QCOMPARE(dump(backend()), before);
}

void TestShellRegistration::twoClicksInARow() {
    reg().RegWriteValue(kCommandKey, QString(), kForeign);
    const QStringList before = dump(backend());
    bool checked = false; // off at start, whatever the registry holds
    checked = !checked;
    shell().applyHhpRegistration(checked, QStringLiteral("/opt/folvane"));
    QCOMPARE(reg().RegReadValue(kCommandKey, QString()), kOurCommand);
    checked = !checked;
    shell().applyHhpRegistration(checked, QStringLiteral("/opt/folvane"));
    QVERIFY(!checked);
    QCOMPARE(dump(backend()), before);
}

void TestShellRegistration::hostProvidesTheRegistry() {
    ScriptedHost host;
    Reg(host.registry()).RegWriteValue(QStringLiteral(".hhp"), QString(), kType);
    ShellRegistration(host.registry(), PathStyle::Windows)
        .applyHhpRegistration(true, QStringLiteral("C:\\Program Files\\Folvane"));
    QCOMPARE(Reg(host.registry()).RegReadValue(kCommandKey, QString()),
             QStringLiteral("\"C:\\Program Files\\Folvane\\hhc.exe\"  \"%1\""));
    QVERIFY(host.prompts().isEmpty());
}

QTEST_GUILESS_MAIN(TestShellRegistration)
#include "tst_shellregistration.moc"
