#include "project/DesktopRegistration.h"

#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

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
// update-mime-database for the type, gio for the applications offered, the file managers'
// own files for their context menus.
class TestDesktopRegistration : public QObject {
    Q_OBJECT
private slots:
    void init();
    void offeredWithoutTakingTheDefault();
    void openWithStartsTheCompilerInAWindow();
    void fileManagersGetTheirActionAndLoseItCleanly();

private:
    void requireTool(const QString& name);
    // Registers the compiler and runs the database updates the registration asked for.
    void registerCompiler(const QString& compilerPath);
    // A compiler that writes its arguments into `seen`, one a line.
    QString recordingCompiler(const QString& folder, const QString& seen);
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
                                               root_->filePath(QStringLiteral("config")),
                                               {root_->filePath(QStringLiteral("system"))}};
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
    host_->clearLaunches();
    QVERIFY(desktop_->registerCompiler(compilerPath, kVerb));
    QVERIFY(!host_->launches().isEmpty());
    for (const ScriptedHost::Launch& update : host_->launches())
        QCOMPARE(QProcess::execute(update.program, update.arguments), 0);
}

QString TestDesktopRegistration::recordingCompiler(const QString& folder, const QString& seen) {
    const QString compiler = folder + QStringLiteral("/hhc");
    writeFile(compiler, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + seen.toUtf8() + "'\n", true);
    return compiler;
}

void TestDesktopRegistration::offeredWithoutTakingTheDefault() {
    requireTool(QStringLiteral("xdg-mime"));
    requireTool(QStringLiteral("update-mime-database"));
    requireTool(QStringLiteral("gio"));
    const QString compiler = root_->filePath(QStringLiteral("program/hhc"));
    writeFile(compiler, "#!/bin/sh\n", true);
    writeFile(root_->filePath(QStringLiteral("data/applications/editor.desktop")),
              "[Desktop Entry]\nType=Application\nName=Editor\nExec=/bin/true %f\nMimeType=text/plain;\n");
    const QByteArray before = "[Added Associations]\ntext/plain=editor.desktop;\n\n"
                              "[Default Applications]\ntext/html=editor.desktop\n";
    writeFile(desktop_->defaultsPath(), before);

    registerCompiler(compiler);
    QVERIFY(
        readFile(root_->filePath(QStringLiteral("data/mime/globs2"))).contains(QByteArray(mime_.toUtf8() + ":*.hhp")));
    // Offered under "打开方式", while a double click still opens the project as plain text did.
    QCOMPARE(defaultApplication(), QStringLiteral("editor.desktop"));
    const QString offered = run(QStringLiteral("gio"), {QStringLiteral("mime"), mime_});
    QVERIFY2(offered.contains(DesktopRegistration::entryName()), qPrintable(offered));
    QVERIFY2(offered.contains(QStringLiteral(": editor.desktop")), qPrintable(offered));
    QVERIFY(readFile(desktop_->entryPath()).contains("\nName=编译\n"));
    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty())
        QCOMPARE(run(QStringLiteral("desktop-file-validate"), {desktop_->entryPath()}), QString());

    QVERIFY(!desktop_->unregister(kVerb));
    QCOMPARE(readFile(desktop_->defaultsPath()), before);
    QVERIFY(!QFile::exists(desktop_->entryPath()));

    // A user who made it the default gets no default of ours left behind; one chosen
    // after it stays.
    writeFile(desktop_->defaultsPath(), before + mime_.toUtf8() + "=editor.desktop\n");
    registerCompiler(compiler);
    run(QStringLiteral("xdg-mime"), {QStringLiteral("default"), DesktopRegistration::entryName(), mime_});
    QCOMPARE(defaultApplication(), DesktopRegistration::entryName());
    QVERIFY(!desktop_->unregister(kVerb));
    QVERIFY(!readFile(desktop_->defaultsPath()).contains(mime_.toUtf8()));
    registerCompiler(compiler);
    writeFile(root_->filePath(QStringLiteral("data/applications/other.desktop")),
              "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/true %f\n");
    run(QStringLiteral("xdg-mime"), {QStringLiteral("default"), QStringLiteral("other.desktop"), mime_});
    QVERIFY(!desktop_->unregister(kVerb));
    QCOMPARE(defaultApplication(), QStringLiteral("other.desktop"));
}

void TestDesktopRegistration::openWithStartsTheCompilerInAWindow() {
    requireTool(QStringLiteral("update-mime-database"));
    requireTool(QStringLiteral("gio"));
    if (!run(QStringLiteral("gio"), {QStringLiteral("help")}).contains(QStringLiteral("launch")))
        QSKIP("this gio cannot launch a desktop entry");
    // A folder name that needs every kind of quoting in the command line. Not a "%": GLib
    // looks for the program before it turns "%%" back into "%".
    const QString seen = root_->filePath(QStringLiteral("arguments"));
    const QString compiler = recordingCompiler(root_->filePath(QStringLiteral("my \"tools\" $HOME `x` \\ 'q'")), seen);
    const QString project = root_->filePath(QStringLiteral("站点 1/HH_KVEL.HHP"));
    writeFile(project, "[OPTIONS]\n");
    registerCompiler(compiler);

    run(QStringLiteral("gio"), {QStringLiteral("launch"), desktop_->entryPath(), project});
    QTRY_COMPARE_WITH_TIMEOUT(readFile(seen), "--window\n" + project.toUtf8() + '\n', 10000);
}

void TestDesktopRegistration::fileManagersGetTheirActionAndLoseItCleanly() {
    const FileManagerActions actions = desktop_->fileManagers();
    QDir().mkpath(root_->filePath(QStringLiteral("data/kio")));
    QDir().mkpath(root_->filePath(QStringLiteral("data/nautilus")));
    // Thunar shows the system's actions until the user has a file of their own.
    const QByteArray systemActions = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action>\n"
                                     "\t<name>Open Terminal Here</name>\n\t<unique-id>1</unique-id>\n"
                                     "\t<command>exo-open --launch TerminalEmulator</command>\n</action>\n</actions>\n";
    writeFile(root_->filePath(QStringLiteral("system/Thunar/uca.xml")), systemActions);
    QDir().mkpath(root_->filePath(QStringLiteral("config/Thunar")));
    const QString seen = root_->filePath(QStringLiteral("arguments"));
    const QString compiler = recordingCompiler(root_->filePath(QStringLiteral("it's here")), seen);
    QVERIFY(desktop_->registerCompiler(compiler, kVerb));

    QVERIFY(readFile(actions.serviceMenuPath()).contains("MimeType=application/x-hhp;\n"));
    QVERIFY(QFileInfo(actions.serviceMenuPath()).isExecutable());

    // Nautilus passes every chosen file: the script compiles only the projects.
    const QString script = actions.scriptPath(QStringLiteral("编译"));
    QProcess nautilus;
    nautilus.setWorkingDirectory(root_->path());
    nautilus.start(script, {QStringLiteral("a.hhp"), QStringLiteral("page.htm")});
    QVERIFY(nautilus.waitForFinished(10000));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(seen), QByteArray("--window\na.hhp\n"), 10000);

    // Thunar's file, read as XML: the system's action kept, ours added.
    QFile uca(actions.thunarActionsPath());
    QVERIFY(uca.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&uca);
    QStringList commands;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"command")
            commands.append(xml.readElementText());
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(commands, (QStringList{QStringLiteral("exo-open --launch TerminalEmulator"),
                                    u'\'' + QString(compiler).replace(u'\'', QStringLiteral("'\\''")) +
                                        QStringLiteral("' --window %f")}));
    uca.close();

    QVERIFY(!desktop_->unregister(kVerb));
    QVERIFY(!QFile::exists(actions.serviceMenuPath()));
    QVERIFY(!QFile::exists(script));
    QVERIFY(!QFile::exists(actions.thunarActionsPath()));

    // A file of the user's own gets its old bytes back.
    const QByteArray own = systemActions + "<!-- mine -->\n";
    writeFile(actions.thunarActionsPath(), own);
    QVERIFY(desktop_->registerCompiler(compiler, kVerb));
    QVERIFY(readFile(actions.thunarActionsPath()).contains("<unique-id>folvane-compile</unique-id>"));
    QVERIFY(!desktop_->unregister(kVerb));
    QCOMPARE(readFile(actions.thunarActionsPath()), own);
}

QTEST_GUILESS_MAIN(TestDesktopRegistration)
#include "tst_desktopregistration.moc"
