#include "project/DesktopRegistration.h"

#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {

const QString kVerb = QStringLiteral("编译(&E)");

void writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Standard output of a desktop tool, trimmed; the test is skipped where it is missing.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return QStringLiteral("<%1 failed>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed() +
           QString::fromUtf8(process.readAllStandardError()).trimmed();
}

} // namespace

// Registration as the desktop's own tools read it: xdg-mime for the default application,
// update-mime-database for the type, gio for opening a project file.
class TestDesktopRegistration : public QObject {
    Q_OBJECT
private slots:
    void init();
    void defaultComesAndGoesAsXdgMimeSeesIt();
    void openingAProjectStartsTheCompilerOnIt();

private:
    void requireTool(const QString& name);
    // Registers the compiler and runs the database update the registration asked for.
    void registerCompiler(const QString& compilerPath);
    QString defaultApplication() {
        return run(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mime_});
    }

    std::unique_ptr<QTemporaryDir> root_;
    std::unique_ptr<ScriptedHost> host_;
    std::unique_ptr<DesktopRegistration> desktop_;
    const QString mime_ = DesktopRegistration::mimeType();
};

void TestDesktopRegistration::init() {
    root_ = std::make_unique<QTemporaryDir>();
    const DesktopRegistration::Folders folders{root_->filePath(QStringLiteral("data")),
                                               root_->filePath(QStringLiteral("config"))};
    qputenv("XDG_DATA_HOME", folders.data.toUtf8());
    qputenv("XDG_CONFIG_HOME", folders.config.toUtf8());
    // No system applications: nothing but the compiler may be started for a project file.
    qputenv("XDG_DATA_DIRS", root_->filePath(QStringLiteral("none")).toUtf8());
    qunsetenv("XDG_CURRENT_DESKTOP");
    host_ = std::make_unique<ScriptedHost>();
    desktop_ = std::make_unique<DesktopRegistration>(*host_, folders);
}

void TestDesktopRegistration::requireTool(const QString& name) {
    if (QStandardPaths::findExecutable(name).isEmpty())
        QSKIP(qPrintable(name + QStringLiteral(" is not installed")));
}

void TestDesktopRegistration::registerCompiler(const QString& compilerPath) {
    QVERIFY(desktop_->registerCompiler(compilerPath, kVerb));
    QCOMPARE(host_->launches().size(), 1);
    const ScriptedHost::Launch update = host_->launches().constLast();
    QCOMPARE(QProcess::execute(update.program, update.arguments), 0);
}

void TestDesktopRegistration::defaultComesAndGoesAsXdgMimeSeesIt() {
    requireTool(QStringLiteral("xdg-mime"));
    requireTool(QStringLiteral("update-mime-database"));
    const QString compiler = root_->filePath(QStringLiteral("program/hhc"));
    writeFile(compiler, "#!/bin/sh\n", true);
    writeFile(root_->filePath(QStringLiteral("data/applications/editor.desktop")),
              "[Desktop Entry]\nType=Application\nName=Editor\nExec=/bin/true %f\n");
    const QByteArray before = "[Added Associations]\ntext/plain=editor.desktop;\n\n"
                              "[Default Applications]\ntext/html=editor.desktop\n" +
                              mime_.toUtf8() + "=editor.desktop\nimage/png=editor.desktop\n";
    writeFile(desktop_->defaultsPath(), before);

    registerCompiler(compiler);
    QCOMPARE(defaultApplication(), DesktopRegistration::entryName());
    QVERIFY(
        readFile(root_->filePath(QStringLiteral("data/mime/globs2"))).contains(QByteArray(mime_.toUtf8() + ":*.hhp")));
    const QByteArray entry = readFile(desktop_->entryPath());
    QVERIFY(entry.contains("\nName=编译\n"));
    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty())
        QCOMPARE(run(QStringLiteral("desktop-file-validate"), {desktop_->entryPath()}), QString());

    QVERIFY(!desktop_->unregister());
    QCOMPARE(defaultApplication(), QStringLiteral("editor.desktop"));
    QCOMPARE(readFile(desktop_->defaultsPath()), before);
    QVERIFY(!QFile::exists(desktop_->entryPath()));

    // A default the user chose after the registration stays when it goes.
    QVERIFY(desktop_->registerCompiler(compiler, kVerb));
    writeFile(root_->filePath(QStringLiteral("data/applications/other.desktop")),
              "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n");
    run(QStringLiteral("xdg-mime"), {QStringLiteral("default"), QStringLiteral("other.desktop"), mime_});
    QVERIFY(!desktop_->unregister());
    QCOMPARE(defaultApplication(), QStringLiteral("other.desktop"));
}

void TestDesktopRegistration::openingAProjectStartsTheCompilerOnIt() {
    requireTool(QStringLiteral("update-mime-database"));
    requireTool(QStringLiteral("gio"));
    // A folder name that needs every kind of quoting in the command line. Not a "%": GLib
    // looks for the program before it turns "%%" back into "%".
    const QString folder = root_->filePath(QStringLiteral("my \"tools\" $HOME `x` \\ 'q'"));
    const QString seen = root_->filePath(QStringLiteral("arguments"));
    writeFile(folder + QStringLiteral("/hhc"), "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + seen.toUtf8() + "'\n", true);
    const QString project = root_->filePath(QStringLiteral("站点 1/HH_KVEL.HHP"));
    writeFile(project, "[OPTIONS]\n");
    registerCompiler(folder + QStringLiteral("/hhc"));

    run(QStringLiteral("gio"), {QStringLiteral("open"), project});
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(seen), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(readFile(seen), "--window\n" + project.toUtf8() + '\n', 5000);
}

QTEST_GUILESS_MAIN(TestDesktopRegistration)
#include "tst_desktopregistration.moc"
