#include "support/ChmReaders.h"
#include "tools/ProgramProject.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

// Runs the built hhc on a project written in the program's own format.
class TestHhc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void compilesSiteWithChineseNames();
    void failureChangesNothing();
    void replacesOnlyItsOwnFiles();
    void badArguments_data();
    void badArguments();
    void helpListsExitStatuses();
    void pipelineNeverWaitsForAWindow();
    void windowsProjectOnLinux();

private:
    struct Run {
        int status = -1;
        QString out;
        QString err;
    };
    using Snapshot = QMap<QString, QByteArray>;

    static Run runHhc(const QStringList& arguments, const QStringList& environment = {});
    static Snapshot snapshot(const QString& folder);
    ProgramProject makeSite(const QString& folder) const;

    QString hhc_;
};

void TestHhc::initTestCase() {
#ifdef Q_OS_WIN
    QSKIP("Windows uses its own help compiler.");
#endif
    hhc_ = QStringLiteral(FOLVANE_BIN_DIR "/hhc");
    QVERIFY2(QFileInfo(hhc_).isExecutable(), qPrintable(hhc_));
}

TestHhc::Run TestHhc::runHhc(const QStringList& arguments, const QStringList& environment) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(FOLVANE_BIN_DIR "/hhc"), arguments);
    Run run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TestHhc::Snapshot TestHhc::snapshot(const QString& folder) {
    Snapshot files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(QDir(folder).relativeFilePath(file.fileName()),
                     file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
    }
    return files;
}

ProgramProject TestHhc::makeSite(const QString& folder) const {
    const QStringList pages{QStringLiteral("a.htm"), QStringLiteral("第一章.htm"), QStringLiteral("sub/b.htm"),
                            QStringLiteral("sub/第二节.htm")};
    ProgramProject project;
    project.output = folder + QStringLiteral("/测试 帮助.chm");
    project.home = QStringLiteral("第一章.htm");
    project.title = QStringLiteral("帮助, \"测试\"");
    for (const QString& page : pages) {
        QDir(folder).mkpath(QFileInfo(page).path());
        QFile file(folder + u'/' + page);
        if (file.open(QIODevice::WriteOnly))
            file.write((QStringLiteral("<html><head><title>") + page + QStringLiteral("</title></head><body>") + page +
                        QStringLiteral("</body></html>\r\n"))
                           .toUtf8());
        project.files.append(folder + u'/' + page);
    }
    project.contents = {{QStringLiteral("第一章"), 1},
                        {QStringLiteral("Intro"), 0},
                        {QStringLiteral("sub"), -1},
                        {QStringLiteral(" Sec"), 2},
                        {QStringLiteral(" 第二节"), 3}};
    QFile hhp(folder + QStringLiteral("/HH_KVEL.hhp"));
    QFile hhc(folder + QStringLiteral("/HH_KVEL.hhc"));
    if (hhp.open(QIODevice::WriteOnly) && hhc.open(QIODevice::WriteOnly)) {
        hhp.write(project.text().toUtf8());
        hhc.write(project.contentsText(folder).toUtf8());
    }
    return project;
}

void TestHhc::compilesSiteWithChineseNames() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const ProgramProject project = makeSite(tmp.path());
    const Snapshot before = snapshot(tmp.path());

    const Run run = runHhc({tmp.path() + QStringLiteral("/HH_KVEL.hhp")});
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    QVERIFY2(run.out.contains(QStringLiteral("编译完成：") + project.output + u'\n'), qPrintable(run.out));
    QVERIFY(run.out.contains(QStringLiteral("共 4 个文件")));

    Snapshot after = snapshot(tmp.path());
    after.remove(QFileInfo(project.output).fileName());
    QCOMPARE(after, before);
#ifdef FOLVANE_HAVE_CHMLIB
    const auto inside = test::readWithChmlib(project.output);
    QVERIFY(inside.has_value());
    for (const QString& page : {QStringLiteral("/a.htm"), QStringLiteral("/第一章.htm"), QStringLiteral("/sub/b.htm"),
                                QStringLiteral("/sub/第二节.htm"), QStringLiteral("/HH_KVEL.hhc")})
        QVERIFY2(inside->contains(page.toUtf8()), qPrintable(page));
#endif
}

void TestHhc::failureChangesNothing() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    ProgramProject project = makeSite(tmp.path());
    project.output = tmp.path() + QStringLiteral("/没有/x.chm");
    QFile hhp(tmp.path() + QStringLiteral("/HH_KVEL.hhp"));
    QVERIFY(hhp.open(QIODevice::WriteOnly));
    hhp.write(project.text().toUtf8());
    hhp.close();
    const Snapshot before = snapshot(tmp.path());

    const Run run = runHhc({tmp.path() + QStringLiteral("/HH_KVEL.hhp")});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.out.endsWith(QStringLiteral("编译失败：输出文件夹不存在：") + tmp.path() + QStringLiteral("/没有\n")),
             qPrintable(run.out));
    QCOMPARE(snapshot(tmp.path()), before);
}

void TestHhc::replacesOnlyItsOwnFiles() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    ProgramProject project = makeSite(tmp.path());
    // A name as long as names get: the temporary file's name must fit beside it.
    project.output = tmp.path() + u'/' + QString(246, u'x') + QStringLiteral(".chm");
    QFile hhp(tmp.path() + QStringLiteral("/HH_KVEL.hhp"));
    QVERIFY(hhp.open(QIODevice::WriteOnly) && hhp.write(project.text().toUtf8()) > 0);
    hhp.close();
    const QStringList arguments{hhp.fileName()};
    const QString running = QStringLiteral("/.out.chm.folvane-%1-0.tmp").arg(QCoreApplication::applicationPid());
    QVERIFY2(runHhc(arguments).status == 0, "a long output name");

    // Leftovers of older versions: removed once their compile is gone, kept while it runs.
    project.output = tmp.path() + QStringLiteral("/out.chm");
    QVERIFY(hhp.open(QIODevice::WriteOnly) && hhp.write(project.text().toUtf8()) > 0);
    hhp.close();
    for (const QString& leftover : {QStringLiteral("/.out.chm.folvane-999999999-0.tmp"), running}) {
        QFile file(tmp.path() + leftover);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(runHhc(arguments).status, 0);
    QVERIFY(!QFileInfo::exists(tmp.path() + QStringLiteral("/.out.chm.folvane-999999999-0.tmp")));
    QVERIFY(QFileInfo::exists(tmp.path() + running));

    // A read-only help file stays, as a read-only project file does, unless forced.
    QFile::setPermissions(project.output, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const Run refused = runHhc(arguments);
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.out.contains(QStringLiteral("只读")), qPrintable(refused.out));
    QCOMPARE(runHhc({QStringLiteral("--force"), hhp.fileName()}).status, 0);
    QCOMPARE(QFileInfo(project.output).permissions() & QFile::WriteOwner, QFile::Permissions());
}

void TestHhc::badArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << QStringList() << 2 << QStringLiteral("没有给出项目文件\n用法：hhc ");
    QTest::newRow("two") << QStringList{QStringLiteral("a.hhp"), QStringLiteral("b.hhp")} << 2
                         << QStringLiteral("只能给出一个项目文件\n用法：hhc ");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--frobnicate"), QStringLiteral("a.hhp")} << 2
                                    << QStringLiteral("未知选项：--frobnicate\n");
    QTest::newRow("window over half a rectangle")
        << QStringList{QStringLiteral("--window=10,20"), QStringLiteral("a.hhp")} << 2
        << QStringLiteral("--window= 后应是 X,Y,宽,高（整数，宽和高大于 0）：--window=10,20\n");
    QTest::newRow("bad budget") << QStringList{QStringLiteral("--index-memory"), QStringLiteral("0"),
                                               QStringLiteral("a.hhp")}
                                << 2 << QStringLiteral("--index-memory 需要一个兆字节数（1 到 1048576）\n用法：hhc ");
    QTest::newRow("missing project") << QStringList{QStringLiteral("/nonexistent/项目/HH_KVEL.hhp")} << 1
                                     << QStringLiteral("编译失败：找不到项目文件：/nonexistent/项目/HH_KVEL.hhp\n");
}

void TestHhc::badArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run run = runHhc(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2((run.status == 2 ? run.err : run.out).startsWith(message), qPrintable(run.out + run.err));
}

void TestHhc::helpListsExitStatuses() {
    for (const QString& option : {QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("/?")}) {
        const Run run = runHhc({option, QStringLiteral("ignored.hhp")});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(
                     QStringLiteral("用法：hhc [--force] [--index-memory MB] [--window[=X,Y,宽,高]] 项目文件.hhp\n")),
                 qPrintable(run.out));
        for (const QString& status : {QStringLiteral("  0  编译成功\n"), QStringLiteral("  1  编译失败"),
                                      QStringLiteral("  2  命令行有误\n"), QStringLiteral("  3  帮助文件已写出")})
            QVERIFY2(run.out.contains(status), qPrintable(status));
    }
}

// make | tee, an IDE, a generator that runs hhc: a display is there, nobody looks at it.
void TestHhc::pipelineNeverWaitsForAWindow() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    makeSite(tmp.path());
    const Run run = runHhc({tmp.path() + QStringLiteral("/HH_KVEL.hhp")},
                           {QStringLiteral("DISPLAY=:0"), QStringLiteral("QT_QPA_PLATFORM=offscreen")});
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains(QStringLiteral("编译完成：")));
}

// A project as Windows tools write it, on a file system that tells case apart: "\" between
// folders, names in other letter case, files only the pages name, text in the system's code page.
void TestHhc::windowsProjectOnLinux() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    const auto write = [&root](const QString& relative, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(root + u'/' + relative).path());
        QFile file(root + u'/' + relative);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    QByteArray missing;
    for (int i = 0; i < 22; ++i)
        missing += "<img src=\"missing" + QByteArray::number(i) + ".png\">";
    // Stored name (as the project or the link writes it) -> file on disk.
    const QMap<QString, QString> stored{{QStringLiteral("/Sub/Page.htm"), QStringLiteral("sub/page.htm")},
                                        {QStringLiteral("/dup/A.HTM"), QStringLiteral("dup/A.htm")},
                                        {QStringLiteral("/Style/Site.CSS"), QStringLiteral("style/site.css")},
                                        {QStringLiteral("/Style/more.css"), QStringLiteral("style/more.css")},
                                        {QStringLiteral("/Img/Pic.PNG"), QStringLiteral("img/pic.png")},
                                        {QStringLiteral("/img/bg.png"), QStringLiteral("img/bg.png")},
                                        {QStringLiteral("/img/from-css.png"), QStringLiteral("img/from-css.png")},
                                        {QStringLiteral("/img/deep pic.png"), QStringLiteral("img/deep pic.png")},
                                        {QStringLiteral("/Sub/other.htm"), QStringLiteral("sub/other.htm")},
                                        {QStringLiteral("/Sub/sub2/deep.htm"), QStringLiteral("sub/sub2/deep.htm")},
                                        {QStringLiteral("/movie.swf"), QStringLiteral("movie.swf")}};
    write(QStringLiteral("sub/page.htm"),
          "<html><head><link rel=stylesheet href=\"../Style/Site.CSS\">"
          "<style>body { background: url('../img/bg.png') }</style></head><body>"
          "<img src=\"..\\Img\\Pic.PNG\"><a href=\"other.htm#x\">o</a><a href='sub2/deep.htm?q=1'>d</a>"
          "<object><param name=\"src\" value=\"../movie.swf\"><param name=\"x\" value=\"not a file\"></object>"
          "<a href=\"http://example.org/a.png\">x</a><a href=\"mailto:a@b.c\">m</a><a href=\"javascript:go()\">j</a>"
          "<a href=\"ms-its:other.chm::/a.htm\">i</a><a href=\"#top\">t</a>"
          "<script>var s = \"<img src='script.png'>\";</script><!-- <img src=\"comment.png\"> -->" +
              missing + "</body></html>");
    write(QStringLiteral("sub/other.htm"), "<p>other</p>");
    write(QStringLiteral("sub/sub2/deep.htm"), "<img src=\"../../img/deep%20pic.png\">");
    write(QStringLiteral("style/site.css"), "@import \"more.css\";\n.x { background: url( ../img/from-css.png ) }");
    write(QStringLiteral("style/more.css"), "/* url(commented.png) */");
    for (const QString& picture :
         {QStringLiteral("img/pic.png"), QStringLiteral("img/bg.png"), QStringLiteral("img/from-css.png"),
          QStringLiteral("img/deep pic.png"), QStringLiteral("movie.swf")})
        write(picture, picture.toUtf8());
    write(QStringLiteral("dup/A.htm"), "upper");
    write(QStringLiteral("dup/a.htm"), "lower");
    QDir().mkpath(root + QStringLiteral("/out"));
    write(QStringLiteral("HH_KVEL.hhp"), "[OPTIONS]\r\nCompiled file=Out\\Site.chm\r\nContents file=Toc.HHC\r\n"
                                         "Default topic=Sub\\Page.htm\r\nTitle=Windows project\r\nAuto TOC=1\r\n"
                                         "\r\n[FILES]\r\nSub\\Page.htm\r\ndup\\A.HTM\r\ngone.htm\r\n");
    // Saved by the program: UTF-8, a Chinese font, English names with references and depth.
    write(
        QStringLiteral("toc.hhc"),
        QStringLiteral("<OBJECT type=\"text/site properties\"><param name=\"Font\" value=\"宋体,9,0\"></OBJECT><UL>"
                       "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"  Chapter&#160;2\">"
                       "<param name=\"Local\" value=\"sub\\page.htm\"></OBJECT>"
                       "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Bugs &#8212; x&#8208;y\">"
                       "</OBJECT><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Tom &amp; &amp;copy;\">"
                       "</OBJECT></UL>")
            .toUtf8());

    const Run run = runHhc({root + QStringLiteral("/HH_KVEL.hhp")}, {QStringLiteral("LC_ALL=C.UTF-8")});
    QCOMPARE(run.status, 3);
    const QString output = root + QStringLiteral("/out/Site.chm");
    QVERIFY2(run.out.contains(QStringLiteral("编译完成，但有 1 个文件未能编入：") + output + u'\n'),
             qPrintable(run.out));
    QVERIFY(run.out.contains(QStringLiteral("共 %1 个文件（其中 9 个由链接找到）").arg(stored.size())));
    QVERIFY(run.out.contains(QStringLiteral("语言 0x409")));
    QCOMPARE(run.out.count(QStringLiteral("提示：忽略选项 Auto TOC\n")), 1);
    QVERIFY(!run.out.contains(QStringLiteral("提示：提示：")));
    QVERIFY(run.out.contains(QStringLiteral("用了其中的 ") + root + QStringLiteral("/dup/A.htm\n")));
    QCOMPARE(run.out.count(QStringLiteral("警告：链接指向的文件不存在：Sub/Page.htm → missing")), 20);
    QVERIFY(run.out.contains(QStringLiteral("警告：……另有 2 个链接指向的文件不存在\n")));
    QCOMPARE(run.out.count(QStringLiteral("链接指向的文件不存在")), 21);
#ifdef FOLVANE_HAVE_CHMLIB
    const auto inside = test::readWithChmlib(output);
    QVERIFY(inside.has_value());
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        QFile file(root + u'/' + it.value());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY2(inside->value(it.key().toUtf8()) == file.readAll(), qPrintable(it.key()));
    }
    const QMap<int, QByteArray> system = test::systemRecords(inside->value("/#SYSTEM"));
    QCOMPARE(system.value(0), QByteArray("Toc.HHC", 8));
    QCOMPARE(system.value(2), QByteArray("Sub/Page.htm", 13));
    // Names as viewers show them, in code page 1252.
    const QByteArray contents = inside->value("/Toc.HHC");
    for (const QByteArray& name : {QByteArray("value=\"Chapter\xA0"
                                              "2\""),
                                   QByteArray("value=\"Bugs \x97 x-y\""), QByteArray("value=\"Tom & &amp;copy;\""),
                                   QByteArray("value=\"sub/page.htm\"")})
        QVERIFY2(contents.contains(name), name.constData());
#endif
}

QTEST_GUILESS_MAIN(TestHhc)
#include "tst_hhc.moc"
