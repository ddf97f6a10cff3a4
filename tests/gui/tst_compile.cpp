#include "app/FmCHM.h"
#include "base/CodePage.h"
#include "gui/ListBoxView.h"
#include "gui/MainWindow.h"
#include "gui/QtHost.h"
#include "project/FmOption.h"
#include "support/ChmReaders.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;
using folvane::fixtures::fill;
using folvane::fixtures::texts;

namespace {
// The real host with the program folder moved to where a fake compiler waits.
class HostWithFolder : public QtHost {
public:
    explicit HostWithFolder(QString folder) : folder_(std::move(folder)) {}
    QString programFolder() override { return folder_; }

private:
    QString folder_;
};

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

// "编译" starts the compiler beside the program on the saved project, and returns at once.
class TestCompile : public QObject {
    Q_OBJECT
private slots:
    void startsTheCompilerOnTheProjectFile();
    void compilerEndsWithTheProgram();
    void doubleClickedPageIsTheHomePage();
    void newProjectLeavesTheOldHelpOut();
};

void TestCompile::startsTheCompilerOnTheProjectFile() {
#ifdef Q_OS_WIN
    QSKIP("The fake compiler is a shell script.");
#else
    QTemporaryDir program;
    QTemporaryDir project;
    const QString record = program.filePath(QStringLiteral("arguments.txt"));
    const QString compiler = program.filePath(QStringLiteral("hhc"));
    QVERIFY(writeFile(compiler, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$(dirname \"$0\")/arguments.tmp\"\n"
                                "mv \"$(dirname \"$0\")/arguments.tmp\" \"$(dirname \"$0\")/arguments.txt\"\n"));
    QVERIFY(QFile::setPermissions(compiler, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    HostWithFolder host(program.path());
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(project.path());
    form.fmOption().setCo1Text(QStringLiteral("index.htm"));

    const QString projectFile = project.filePath(QStringLiteral("HH_KVEL.hhp"));
    QVERIFY(writeFile(projectFile, "[OPTIONS]\r\n"));
    form.open_Click();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 5000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Without a main window on the screen, the compiler's window opens where it likes.
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("2\n--window\n") + projectFile + u'\n');
#endif
}

void TestCompile::compilerEndsWithTheProgram() {
#ifdef Q_OS_WIN
    QSKIP("The fake compiler is a shell script.");
#else
    QTemporaryDir program;
    QTemporaryDir project;
    const QString running = program.filePath(QStringLiteral("running"));
    const QString compiler = program.filePath(QStringLiteral("hhc"));
    // Asked to end, it cleans up as hhc does.
    QVERIFY(writeFile(compiler, "#!/bin/sh\ndir=$(dirname \"$0\")\n"
                                "trap 'kill $sleeper; rm -f \"$dir/running\"; exit 0' TERM\n"
                                "sleep 60 & sleeper=$!\ntouch \"$dir/running\"\nwait\n"));
    QVERIFY(QFile::setPermissions(compiler, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(writeFile(project.filePath(QStringLiteral("HH_KVEL.hhp")), "[OPTIONS]\r\n"));
    {
        HostWithFolder host(program.path());
        FmCHM form(host, PathStyle::Posix);
        form.project().setComparePath(project.path());
        form.fmOption().setCo1Text(QStringLiteral("index.htm"));
        form.open_Click();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(running), 5000);
    }
    // The program has closed: the compiler was asked to end and has ended.
    QVERIFY(!QFile::exists(running));
#endif
}

// The whole road in the window: double-click an entry, save, compile with the real hhc and
// read the home page back out of the help file.
void TestCompile::doubleClickedPageIsTheHomePage() {
#ifndef FOLVANE_HAVE_CHMLIB
    QSKIP("chmlib is not installed (libchm-dev).");
#else
    QTemporaryDir project;
    const QStringList pages{project.filePath(QStringLiteral("index.htm")),
                            project.filePath(QStringLiteral("sub/页面.htm"))};
    for (const QString& page : pages)
        QVERIFY(writeFile(page, "<p>page</p>"));
    qputenv("FOLVANE_HHC_NO_WINDOW", "1");
    HostWithFolder host(QStringLiteral(FOLVANE_BIN_DIR));
    FmCHM form(host, PathStyle::Posix);
    MainWindow window(form, host);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    form.project().setComparePath(project.path());
    fill(form.project(), pages, {0, 0});
    fill(form.LB(), {QStringLiteral("首页"), QStringLiteral("页面")}, {0, 1});

    auto* view = window.findChild<ListBoxView*>(QStringLiteral("L1"));
    QVERIFY(view);
    const QPoint row = view->visualRect(view->model()->index(1, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row);
    form.SaveIt();
    form.open_Click();

    const QString help = project.filePath(QStringLiteral("HH_KVEL.chm"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(help).size() > 0, 20000);
    const auto inside = test::readWithChmlib(help);
    QVERIFY(inside.has_value());
    const std::string home =
        CodePage::toUtf8(test::systemRecords(inside->value("/#SYSTEM")).value(2).toStdString(), 936);
    QCOMPARE(QString::fromStdString(home), QStringLiteral("sub/页面.htm") + QChar(0));
    QVERIFY(inside->contains("/sub/页面.htm"));
#endif
}

// A folder compiled before, taken again as a new project: its old help file goes neither into
// the file list nor into the new help file, even when added by hand under the default name.
void TestCompile::newProjectLeavesTheOldHelpOut() {
#ifndef FOLVANE_HAVE_CHMLIB
    QSKIP("chmlib is not installed (libchm-dev).");
#else
    QTemporaryDir site;
    QVERIFY(writeFile(site.filePath(QStringLiteral("index.htm")), "<p>index</p>"));
    qputenv("FOLVANE_HHC_NO_WINDOW", "1");
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    // Saves under the title and compiles; answers the names inside the help file and what
    // the compiler said.
    const auto compile = [&](const QString& title) {
        form.fmOption().setChmTt(title);
        QProcess hhc;
        hhc.setProcessChannelMode(QProcess::MergedChannels);
        if (form.SaveIt()) {
            hhc.start(QStringLiteral(FOLVANE_BIN_DIR "/hhc"), {form.projectFilePath()});
            hhc.waitForFinished(60000);
        }
        const auto inside = test::readWithChmlib(site.filePath(title + QStringLiteral(".chm")));
        return std::make_pair(inside ? inside->keys() : QList<QByteArray>(), QString::fromUtf8(hhc.readAll()));
    };
    host.answerFolder(site.path());
    form.Form_Load();
    QVERIFY(compile(QStringLiteral("Manual")).first.contains("/index.htm"));

    host.answerFolder(site.path());
    form.newf_Click();
    QCOMPARE(texts(form.LF), QStringList{site.filePath(QStringLiteral("index.htm"))});
    QVERIFY(host.messageTexts().constLast().contains(site.filePath(QStringLiteral("Manual.chm"))));
    QVERIFY(!compile(QStringLiteral("Manual 2")).first.contains("/Manual.chm"));

    // Picked by name, a file is added; the compiler still keeps out a help file under the
    // project's default name.
    QVERIFY(QFile::copy(site.filePath(QStringLiteral("Manual.chm")), site.filePath(QStringLiteral("HH_KVEL.chm"))));
    host.answerOpenFiles({site.filePath(QStringLiteral("HH_KVEL.chm"))});
    host.answerMessage(MsgResult::No);
    form.Cmd_Click(0);
    QCOMPARE(form.LF.count(), 2);
    const auto [third, output] = compile(QStringLiteral("Manual 3"));
    QVERIFY(third.contains("/index.htm") && !third.contains("/HH_KVEL.chm"));
    QVERIFY2(output.contains(QStringLiteral("已跳过以前编译出的帮助文件")), qPrintable(output));
#endif
}

QTEST_MAIN(TestCompile)
#include "tst_compile.moc"
