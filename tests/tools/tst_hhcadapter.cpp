#ifdef FOLVANE_HAS_HHC_ADAPTER
#include "hhc/ChmcmdRunner.h"
#include "hhc/HhpRewriter.h"
#include "hhc/ProjectCopy.h"
#endif

#include "tools/ProgramProject.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace folvane;

class TestHhcAdapter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
#ifdef FOLVANE_HAS_HHC_ADAPTER
    void programProjectChangesOnlyWhatChmcmdNeeds();
    void homePageBecomesRelative_data();
    void homePageBecomesRelative();
    void filesBecomeRelative();
    void outputFileIsAbsolute_data();
    void outputFileIsAbsolute();
    void windowTitleSurvivesChmcmdSplitting_data();
    void windowTitleSurvivesChmcmdSplitting();
    void foreignWindowLineKeepsItsFields();
    void lineEndsAreKept();
    void copyLiesBesideProjectUntilRemoved();
    void unreadableProjectIsReported();
    void runnerReportsChmcmdStatusAndCleansUp();
    void backslashNamesAreLeftOut();
    void runnerRetriesWithoutSearch_data();
    void runnerRetriesWithoutSearch();
    void missingChmcmdIsReported();
#endif

private:
    QString dir() const {
        return tmp_->path();
    }
    QString writeFile(const QString& name, const QByteArray& bytes) const;
    // Installs a stand-in compiler running script as the chmcmd the runner finds.
    bool useFakeChmcmd(const QByteArray& script) const;
    QStringList entries() const;

    std::unique_ptr<QTemporaryDir> tmp_;
};

void TestHhcAdapter::initTestCase() {
#ifndef FOLVANE_HAS_HHC_ADAPTER
    QSKIP("The compiler adapter is built on Linux only.");
#endif
}

void TestHhcAdapter::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
}

void TestHhcAdapter::cleanup() {
    qunsetenv("FOLVANE_CHMCMD");
}

QString TestHhcAdapter::writeFile(const QString& name, const QByteArray& bytes) const {
    const QString path = dir() + u'/' + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

bool TestHhcAdapter::useFakeChmcmd(const QByteArray& script) const {
    const QString fake = writeFile(QStringLiteral("bin/fake-chmcmd"), script);
    if (!QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    qputenv("FOLVANE_CHMCMD", fake.toLocal8Bit());
    return true;
}

QStringList TestHhcAdapter::entries() const {
    return QDir(dir()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

#ifdef FOLVANE_HAS_HHC_ADAPTER

void TestHhcAdapter::programProjectChangesOnlyWhatChmcmdNeeds() {
    const QString site = QStringLiteral("/data/站点");
    ProgramProject project;
    project.output = site + QStringLiteral("/测试.chm");
    project.home = QStringLiteral("第一章.htm");
    project.title = QStringLiteral("测试帮助");
    project.files = QStringList{site + QStringLiteral("/a.htm"), site + QStringLiteral("/第一章.htm"),
                                site + QStringLiteral("/子目录/第二节.htm")};

    ProgramProject expected = project;
    expected.files =
        QStringList{QStringLiteral("a.htm"), QStringLiteral("第一章.htm"), QStringLiteral("子目录/第二节.htm")};
    QString expectedText = expected.text();
    expectedText.replace(u'"' + project.output + u'"', project.output);

    HhpRewriter rewriter(site + QStringLiteral("/HH_KVEL.hhp"));
    QCOMPARE(rewriter.rewrite(project.text()), expectedText);
    QCOMPARE(rewriter.outputFile(), project.output);
}

void TestHhcAdapter::homePageBecomesRelative_data() {
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("expected");
    // "<dir>" stands for the project folder, which holds a file named "a\b.htm".
    QTest::newRow("relative") << QStringLiteral("sub/第二节.htm") << QStringLiteral("sub/第二节.htm");
    QTest::newRow("windows separators") << QStringLiteral("sub\\b.htm") << QStringLiteral("sub/b.htm");
    QTest::newRow("backslash in a real name") << QStringLiteral("a\\b.htm") << QStringLiteral("a\\b.htm");
    QTest::newRow("full path") << QStringLiteral("<dir>/sub/第二节.htm") << QStringLiteral("sub/第二节.htm");
    QTest::newRow("outside the folder") << QStringLiteral("<dir>/../外面/o.htm") << QStringLiteral("../外面/o.htm");
    QTest::newRow("none") << QString() << QString();
}

void TestHhcAdapter::homePageBecomesRelative() {
    QFETCH(QString, home);
    QFETCH(QString, expected);
    QVERIFY(!writeFile(QStringLiteral("a\\b.htm"), "x").isEmpty());
    ProgramProject project;
    project.home = home.replace(QStringLiteral("<dir>"), dir());
    project.title = QStringLiteral("T");

    HhpRewriter rewriter(dir() + QStringLiteral("/HH_KVEL.hhp"));
    const QStringList lines = rewriter.rewrite(project.text()).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.at(5), QStringLiteral("Default topic=") + expected);
    ProgramProject relative = project;
    relative.home = expected;
    QCOMPARE(lines.at(12), relative.windowLine());
}

void TestHhcAdapter::filesBecomeRelative() {
    const QString site = QStringLiteral("/data/site");
    ProgramProject project;
    project.files = QStringList{site + QStringLiteral("/a.htm"),        site + QStringLiteral("/sub/第一章.htm"),
                                QStringLiteral("/data/site2/x.htm"),    site + QStringLiteral("/a.htm"),
                                QStringLiteral("already/relative.htm"), site + QStringLiteral("/b c#1.htm")};
    HhpRewriter rewriter(site + QStringLiteral("/HH_KVEL.hhp"));
    QStringList lines = rewriter.rewrite(project.text()).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString());
    const QStringList files = lines.mid(lines.indexOf(QStringLiteral("[FILES]")) + 1);
    // A folder that merely starts like the project folder is outside it; a repeated file is listed once.
    QCOMPARE(files,
             (QStringList{QStringLiteral("a.htm"), QStringLiteral("sub/第一章.htm"), QStringLiteral("../site2/x.htm"),
                          QStringLiteral("already/relative.htm"), QStringLiteral("b c#1.htm")}));
}

void TestHhcAdapter::outputFileIsAbsolute_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("quoted") << QStringLiteral("Compiled file=\"/out/帮助 1.chm\"") << QStringLiteral("/out/帮助 1.chm");
    QTest::newRow("unquoted") << QStringLiteral("Compiled file=/out/a.chm") << QStringLiteral("/out/a.chm");
    // The Windows compiler names an unnamed help file after the project; chmcmd would stop.
    QTest::newRow("empty") << QStringLiteral("Compiled file=\"\"") << QStringLiteral("/data/site/HH_KVEL.chm");
    QTest::newRow("relative") << QStringLiteral("Compiled file=out/../a.chm") << QStringLiteral("/data/site/a.chm");
    QTest::newRow("missing") << QString() << QStringLiteral("/data/site/HH_KVEL.chm");
}

void TestHhcAdapter::outputFileIsAbsolute() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    const QString text = QStringLiteral("[OPTIONS]\r\n") +
                         (line.isEmpty() ? QString() : line + QStringLiteral("\r\n")) +
                         QStringLiteral("Title=x\r\n[FILES]\r\n");
    HhpRewriter rewriter(QStringLiteral("/data/site/HH_KVEL.hhp"));
    const QStringList lines = rewriter.rewrite(text).split(QStringLiteral("\r\n"));
    QCOMPARE(rewriter.outputFile(), expected);
    QCOMPARE(lines.at(1), QStringLiteral("Compiled file=") + expected);
    QCOMPARE(lines.at(2), QStringLiteral("Title=x"));
}

void TestHhcAdapter::windowTitleSurvivesChmcmdSplitting_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << QStringLiteral("帮助") << QStringLiteral("\"帮助\"");
    QTest::newRow("comma") << QStringLiteral("甲,乙") << QStringLiteral("\"甲,乙\"");
    // chmcmd ends a quoted field at the next quote: without a comma the text goes unquoted.
    QTest::newRow("quote") << QStringLiteral("他说\"好\"") << QStringLiteral("他说\"好\"");
    QTest::newRow("quote and comma") << QStringLiteral("a, \"b\"") << QStringLiteral("\"a, 'b'\"");
    QTest::newRow("leading quote") << QStringLiteral("\"b\"") << QStringLiteral("\"'b'\"");
}

void TestHhcAdapter::windowTitleSurvivesChmcmdSplitting() {
    QFETCH(QString, title);
    QFETCH(QString, field);
    ProgramProject project;
    project.title = title;
    project.home = QStringLiteral("a.htm");
    HhpRewriter rewriter(QStringLiteral("/data/site/HH_KVEL.hhp"));
    const QStringList lines = rewriter.rewrite(project.text()).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.at(10), QStringLiteral("Title=") + title);
    const QString after = project.windowLine().mid(project.windowLine().indexOf(QStringLiteral(",\"HH_KVEL.hhc\"")));
    QCOMPARE(lines.at(12), project.window + u'=' + field + after);
}

void TestHhcAdapter::foreignWindowLineKeepsItsFields() {
    // Not the program's own line: read field by field, home topics made relative.
    const QString text = QStringLiteral("[OPTIONS]\nCompiled file=/o.chm\n[WINDOWS]\n"
                                        "main=\"Help, please\",\"t.hhc\",\"i.hhk\",\"/data/site/x\\y.htm\",,,,,,"
                                        "0x42560,,,[10,20,30,40],,,,,,,0,\n");
    HhpRewriter rewriter(QStringLiteral("/data/site/p.hhp"));
    QCOMPARE(
        rewriter.rewrite(text).split(u'\n').at(3),
        QStringLiteral("main=\"Help, please\",\"t.hhc\",\"i.hhk\",\"x\\y.htm\",,,,,,0x42560,,,[10,20,30,40],,,,,,,0,"));
}

void TestHhcAdapter::lineEndsAreKept() {
    HhpRewriter rewriter(QStringLiteral("/data/site/HH_KVEL.hhp"));
    QCOMPARE(rewriter.rewrite(QStringLiteral("[OPTIONS]\nCompiled file=\"/o.chm\"\n[FILES]\n/data/site/a.htm")),
             QStringLiteral("[OPTIONS]\nCompiled file=/o.chm\n[FILES]\na.htm"));
    QCOMPARE(rewriter.rewrite(QStringLiteral("[OPTIONS]\r\nCompiled file=/o.chm\r\n[FILES]\r\n\r\n")),
             QStringLiteral("[OPTIONS]\r\nCompiled file=/o.chm\r\n[FILES]\r\n\r\n"));
}

void TestHhcAdapter::copyLiesBesideProjectUntilRemoved() {
    ProgramProject project;
    project.output = dir() + QStringLiteral("/帮助.chm");
    project.files = QStringList{dir() + QStringLiteral("/第一章.htm")};
    const QByteArray original = project.text().toUtf8();
    const QString projectFile = writeFile(QStringLiteral("HH_KVEL.hhp"), original);

    {
        ProjectCopy copy;
        QVERIFY(copy.create(projectFile));
        QCOMPARE(QFileInfo(copy.path()).absolutePath(), dir());
        QVERIFY(copy.path().endsWith(QStringLiteral(".hhp")));
        QCOMPARE(copy.outputFile(), project.output);
        QFile written(copy.path());
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("\r\n第一章.htm\r\n"));
        QCOMPARE(entries().size(), 2);
        copy.remove();
        QCOMPARE(entries(), QStringList{QStringLiteral("HH_KVEL.hhp")});
        QVERIFY(copy.create(projectFile));
    }
    QCOMPARE(entries(), QStringList{QStringLiteral("HH_KVEL.hhp")});
    QFile user(projectFile);
    QVERIFY(user.open(QIODevice::ReadOnly));
    QCOMPARE(user.readAll(), original);
}

void TestHhcAdapter::unreadableProjectIsReported() {
    ProjectCopy copy;
    QVERIFY(!copy.create(dir() + QStringLiteral("/none.hhp")));
    QCOMPARE(copy.error(), QStringLiteral("找不到项目文件：\n") + dir() + QStringLiteral("/none.hhp"));
    QVERIFY(!copy.create(dir()));
    QVERIFY(copy.error().startsWith(QStringLiteral("无法读取项目文件：\n")));
    QVERIFY(copy.path().isEmpty());
}

void TestHhcAdapter::runnerReportsChmcmdStatusAndCleansUp() {
    // A stand-in compiler shows where it runs and what it was given.
    QVERIFY(useFakeChmcmd("#!/bin/sh\necho \"in $(pwd)\"\ncat \"$1\"\necho oops >&2\nexit 3\n"));
    ProgramProject project;
    project.output = dir() + QStringLiteral("/帮助.chm");
    const QString projectFile = writeFile(QStringLiteral("HH_KVEL.hhp"), project.text().toUtf8());

    ChmcmdRunner runner;
    QString output;
    connect(&runner, &ChmcmdRunner::output, this, [&output](const QString& text) { output += text; });
    QSignalSpy finished(&runner, &ChmcmdRunner::finished);
    runner.start(projectFile, ChmcmdRunner::Output::Capture);
    QVERIFY(runner.isRunning());
    QCOMPARE(runner.waitForFinished(), 3);

    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toInt(), 3);
    QVERIFY(!runner.isRunning());
    QVERIFY2(output.startsWith(QStringLiteral("in ") + dir() + u'\n'), qPrintable(output));
    QVERIFY(output.contains(QStringLiteral("\nCompiled file=") + project.output + QStringLiteral("\r\n")));
    QVERIFY(output.endsWith(QStringLiteral("oops\n")));
    QCOMPARE(runner.outputFile(), project.output);
    QCOMPARE(entries(), QStringList{QStringLiteral("HH_KVEL.hhp")});
}

void TestHhcAdapter::backslashNamesAreLeftOut() {
    // chmcmd reads "\\" as a separator: a file really named with one would stop the compile,
    // while a Windows-style name of an existing file still works.
    writeFile(QStringLiteral("back\\slash.htm"), "x");
    writeFile(QStringLiteral("sub/page.htm"), "x");
    ProgramProject project;
    project.files = QStringList{dir() + QStringLiteral("/back\\slash.htm"), QStringLiteral("sub\\page.htm"),
                                dir() + QStringLiteral("/sub/page.htm")};
    HhpRewriter rewriter(dir() + QStringLiteral("/HH_KVEL.hhp"));
    const QString text = rewriter.rewrite(project.text());
    QVERIFY(text.endsWith(QStringLiteral("[FILES]\r\nsub\\page.htm\r\nsub/page.htm\r\n")));
    QCOMPARE(rewriter.skippedFiles(), QStringList{QStringLiteral("back\\slash.htm")});
    QVERIFY(rewriter.allFilesExist());
}

void TestHhcAdapter::runnerRetriesWithoutSearch_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("fileMissing");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("runs");
    const QByteArray count = "#!/bin/sh\necho run >> \"$(dirname \"$0\")/runs\"\n";
    QTest::newRow("dies only with search") << count + "grep -q 'Full-text search=Yes' \"$1\" && exit 217\nexit 0\n"
                                           << false << 0 << 2;
    QTest::newRow("dies anyway") << count + "exit 217\n" << false << 217 << 2;
    QTest::newRow("missing file") << count + "exit 217\n" << true << 217 << 1;
    QTest::newRow("ordinary failure") << count + "exit 1\n" << false << 1 << 1;
}

void TestHhcAdapter::runnerRetriesWithoutSearch() {
    QFETCH(QByteArray, script);
    QFETCH(bool, fileMissing);
    QVERIFY(useFakeChmcmd(script));
    ProgramProject project;
    project.files = {fileMissing ? dir() + QStringLiteral("/gone.htm") : writeFile(QStringLiteral("a.htm"), "")};
    QVERIFY(project.text().contains(QStringLiteral("Full-text search=Yes\r\n")));
    const QString projectFile = writeFile(QStringLiteral("HH_KVEL.hhp"), project.text().toUtf8());

    ChmcmdRunner runner;
    QString output;
    connect(&runner, &ChmcmdRunner::output, this, [&output](const QString& text) { output += text; });
    QSignalSpy finished(&runner, &ChmcmdRunner::finished);
    runner.start(projectFile, ChmcmdRunner::Output::Capture);
    QTEST(runner.waitForFinished(), "status");

    QCOMPARE(finished.count(), 1);
    QFETCH(int, runs);
    QFile ran(dir() + QStringLiteral("/bin/runs"));
    QVERIFY(ran.open(QIODevice::ReadOnly));
    QCOMPARE(ran.readAll().count("run"), runs);
    QCOMPARE(output.contains(QStringLiteral("关闭全文搜索")), runs == 2);
    QVERIFY(!entries().join(u' ').contains(QStringLiteral(".HH_KVEL-")));
}

void TestHhcAdapter::missingChmcmdIsReported() {
    qputenv("FOLVANE_CHMCMD", (dir() + QStringLiteral("/nowhere/chmcmd")).toLocal8Bit());
    QVERIFY(ChmcmdRunner::locate().isEmpty());
    const QString projectFile = writeFile(QStringLiteral("HH_KVEL.hhp"), ProgramProject{}.text().toUtf8());

    ChmcmdRunner runner;
    QString output;
    connect(&runner, &ChmcmdRunner::output, this, [&output](const QString& text) { output += text; });
    runner.start(projectFile, ChmcmdRunner::Output::Capture);
    QVERIFY(!runner.isRunning());
    QCOMPARE(runner.exitStatus(), ChmcmdRunner::NotFound);
    QCOMPARE(output, QStringLiteral("找不到 chmcmd：请安装 fp-utils。\n"));
    QCOMPARE(entries(), QStringList{QStringLiteral("HH_KVEL.hhp")});
}

#endif

QTEST_GUILESS_MAIN(TestHhcAdapter)
#include "tst_hhcadapter.moc"
