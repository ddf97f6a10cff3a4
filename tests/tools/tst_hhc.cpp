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

private:
    struct Run {
        int status = -1;
        QString out;
        QString err;
    };
    using Snapshot = QMap<QString, QByteArray>;

    static Run runHhc(const QStringList& arguments);
    static Snapshot snapshot(const QString& folder);
    static QString contentsFile(const QString& home);
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

TestHhc::Run TestHhc::runHhc(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FOLVANE_HHC_NO_WINDOW"), QStringLiteral("1"));
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

// The contents file as the program writes it: topics with tab-indented parameters, a book
// opening one nested list.
QString TestHhc::contentsFile(const QString& home) {
    const auto topic = [](int level, const QString& name, const QString& target) {
        const QString tabs(level, u'\t');
        const QString inner(level + 1, u'\t');
        return QStringList{tabs + QStringLiteral("<LI><OBJECT type=\"text/sitemap\">"),
                           inner + QStringLiteral("  <param name=\"Name\" value=\"") + name + QStringLiteral("\">"),
                           inner + QStringLiteral("  <param name=\"Local\" value=\"") + target + QStringLiteral("\">"),
                           tabs + QStringLiteral("    </OBJECT>"), tabs + QStringLiteral("</LI>")};
    };
    QStringList lines{
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">"),
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD>"),
        QStringLiteral("<meta name=\"GENERATOR\" content=\"Folvane.exe  ") + home + QStringLiteral("\">"),
        QStringLiteral("<!-- Sitemap 1.0 -->"),
        QStringLiteral("</HEAD><BODY>"),
        QStringLiteral("<BASE HREF=\"\\\">"),
        QStringLiteral("<OBJECT type=\"text/site properties\">"),
        QStringLiteral("    <param name=\"ExWindow Styles\" value=\"0x200\">"),
        QStringLiteral("  <param name=\"Window Styles\" value=\"0x800025\">"),
        QStringLiteral(" <param name=\"Font\" value=\"宋体,9,0\">"),
        QStringLiteral("</OBJECT>"),
        QStringLiteral("<OBJECT type=\"text/site properties\"><param name=\"Foreground\" value=\"0xa54a00\"></OBJECT>"),
        QStringLiteral("<UL>")};
    lines += topic(0, QStringLiteral("第一章"), QStringLiteral("第一章.htm"));
    lines += topic(0, QStringLiteral("Intro"), QStringLiteral("a.htm"));
    lines += QStringLiteral("<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"sub\"><param "
                            "name=\"ImageNumber\" value=\"1\"></OBJECT></LI>");
    lines += QStringLiteral("<UL>");
    lines += topic(1, QStringLiteral(" Sec"), QStringLiteral("sub/b.htm"));
    lines += topic(1, QStringLiteral(" 第二节"), QStringLiteral("sub/第二节.htm"));
    lines += QStringLiteral("</UL>");
    lines += QStringLiteral("</UL>");
    lines += QStringLiteral("</BODY></HTML>");
    return lines.join(QStringLiteral("\r\n"));
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
    QFile hhp(folder + QStringLiteral("/HH_KVEL.hhp"));
    QFile hhc(folder + QStringLiteral("/HH_KVEL.hhc"));
    if (hhp.open(QIODevice::WriteOnly) && hhc.open(QIODevice::WriteOnly)) {
        hhp.write(project.text().toUtf8());
        hhc.write(contentsFile(QStringLiteral("https://folvane.example.org/")).toUtf8());
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
    const QString usage = QStringLiteral("用法：hhc [--force] [--index-memory MB] 项目文件.hhp\n");
    QTest::newRow("none") << QStringList() << 2 << usage;
    QTest::newRow("two") << QStringList{QStringLiteral("a.hhp"), QStringLiteral("b.hhp")} << 2 << usage;
    QTest::newRow("bad budget") << QStringList{QStringLiteral("--index-memory"), QStringLiteral("0"),
                                               QStringLiteral("a.hhp")}
                                << 2
                                << QStringLiteral("hhc：--index-memory 需要一个兆字节数（1 到 1048576）\n") + usage;
    QTest::newRow("missing project") << QStringList{QStringLiteral("/nonexistent/项目/HH_KVEL.hhp")} << 1
                                     << QStringLiteral("编译失败：找不到项目文件：/nonexistent/项目/HH_KVEL.hhp\n");
}

void TestHhc::badArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run run = runHhc(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.status == 2 ? run.err : run.out, message);
}

QTEST_GUILESS_MAIN(TestHhc)
#include "tst_hhc.moc"
