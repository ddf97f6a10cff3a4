#include "support/ChildProcess.h"
#include "support/ChmReaders.h"
#include "tools/GeneratedSite.h"
#include "tools/MakeProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace folvane;
using folvane::test::ChildSetup;
using folvane::test::runInChild;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Our temporary files in a folder: none may stay behind.
QStringList leftovers(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral(".*folvane-*.tmp")}, QDir::Files | QDir::Hidden);
}

// Data that does not compress, so that compiling it takes a moment and needs its room.
QByteArray noise(qsizetype bytes) {
    QByteArray data(bytes, '\0');
    QRandomGenerator generator(22);
    generator.fillRange(reinterpret_cast<quint32*>(data.data()), bytes / 4);
    return data;
}

// Waits until check holds, at most a while.
bool waitFor(const std::function<bool()>& check, int ms = 30000) {
    QElapsedTimer timer;
    timer.start();
    while (!check()) {
        if (timer.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// Fills a file system until it has no room left.
void fillUp(const QString& folder) {
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
}

QProcessEnvironment noWindow() {
    QProcessEnvironment env;
    env.insert(QStringLiteral("FOLVANE_HHC_NO_WINDOW"), QStringLiteral("1"));
    return env;
}

QProcessEnvironment compilerEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(noWindow());
    return env;
}

} // namespace

// What faults, killed processes and odd names must not do through the real programs: lose
// or replace a user's file, leave temporary files, report a failure as success.
class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fullDisk_data();
    void fullDisk();
    void outputIsAHelpFileOrNothing();
    void killedCompileIsNoInput();
    void fileSizeLimit();
    void namesNotInTheSystemEncoding();
    void compilerEndsWithItsParent();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString site_;
};

void TestFaults::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    site_ = dir_->path() + QStringLiteral("/site");
}

void TestFaults::fullDisk_data() {
    QTest::addColumn<int>("pages");
    QTest::addColumn<bool>("helpFile"); // the help file on the full disk, or the project
    QTest::addColumn<qint64>("roomLeft");
    // Small files stayed in the writer's buffer until a close whose failure went unnoticed.
    QTest::newRow("project below the buffer") << 3 << false << qint64(0);
    QTest::newRow("project above the buffer") << 600 << false << qint64(0);
    QTest::newRow("help file, no room") << 3 << true << qint64(0);
    QTest::newRow("help file, some room") << 3 << true << qint64(256 * 1024);
}

void TestFaults::fullDisk() {
    QFETCH(int, pages);
    QFETCH(bool, helpFile);
    QFETCH(qint64, roomLeft);
    const QString disk = dir_->path() + QStringLiteral("/disk");
    QVERIFY(QDir().mkpath(disk));
    const QString root = helpFile ? site_ : disk + QStringLiteral("/site");
    const QString output = helpFile ? disk + QStringLiteral("/help.chm") : root + QStringLiteral("/HH_KVEL.chm");
    const auto report = runInChild(ChildSetup::PrivateMounts, [&]() -> QStringList {
        if (!test::mountTmpfs(disk, 4 * 1024 * 1024))
            return {QStringLiteral("unsupported")};
        GeneratedSite site(root);
        for (int i = 0; i < pages; ++i)
            site.page(QStringLiteral("p%1.htm").arg(i), QStringLiteral("第 %1 页").arg(i));
        // The previous files, written by the programs themselves.
        const QStringList arguments{root, QStringLiteral("-o"), output};
        if (MakeProcess::run(helpFile ? arguments : arguments + QStringList{QStringLiteral("--no-compile")}).exitCode !=
            0)
            return {QStringLiteral("the first run failed")};
        const QStringList changed =
            helpFile ? QStringList{output}
                     : QStringList{root + QStringLiteral("/HH_KVEL.hhp"), root + QStringLiteral("/HH_KVEL.hhc")};
        const auto contents = [&changed] {
            QByteArray all;
            for (const QString& file : changed)
                all += readFile(file);
            return all;
        };
        const QByteArray before = contents();
        site.file(QStringLiteral("noise.bin"), noise(1024 * 1024));
        site.page(QStringLiteral("new.htm"), QStringLiteral("新的一页"));
        fillUp(disk);
        QFile::resize(disk + QStringLiteral("/filler"), QFileInfo(disk + QStringLiteral("/filler")).size() - roomLeft);
        const MakeProcess run =
            MakeProcess::run(arguments + (helpFile ? QStringList{} : QStringList{QStringLiteral("--no-compile")}));
        const QString said = QString::fromUtf8(run.err + run.out);
        return {QString::number(run.exitCode),
                said.contains(helpFile ? QStringLiteral("无法写入帮助文件") : QStringLiteral("磁盘已满"))
                    ? QStringLiteral("told")
                    : said,
                contents() == before ? QStringLiteral("kept") : QStringLiteral("changed"),
                leftovers(QFileInfo(changed.front()).path()).join(u' ')};
    });
    if (!report || report->value(0) == QStringLiteral("unsupported"))
        QSKIP("this machine cannot mount a small file system for the test");
    QCOMPARE(*report, (QStringList{QStringLiteral("1"), QStringLiteral("told"), QStringLiteral("kept"), QString()}));
}

void TestFaults::outputIsAHelpFileOrNothing() {
    GeneratedSite site(site_);
    const QByteArray page = readFile(site.page(QStringLiteral("index.htm"), QStringLiteral("首页")));
    const QString index = site.path(QStringLiteral("index.htm"));
    for (const QString& target : {index, site.path(QStringLiteral("HH_KVEL.hhp"))}) {
        const MakeProcess refused = MakeProcess::run({site_, QStringLiteral("-o"), target});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(target.toUtf8()), refused.err.constData());
    }
    QCOMPARE(readFile(index), page);
    QCOMPARE(site.projectFiles(), QStringList()); // refused before anything was saved

    // The compiler refuses the same on its own.
    QVERIFY(MakeProcess::run({site_, QStringLiteral("--no-compile")}).exitCode == 0);
    QFile project(site.path(QStringLiteral("HH_KVEL.hhp")));
    QByteArray text = readFile(project.fileName());
    const QByteArray proposed = "Compiled file=\"" + site.path(QStringLiteral("HH_KVEL.chm")).toUtf8();
    text.replace(proposed, "Compiled file=\"index.htm");
    QVERIFY(project.open(QIODevice::WriteOnly) && project.write(text) == text.size());
    project.close();
    const MakeProcess hhc =
        MakeProcess::run({project.fileName()}, noWindow(), {}, QStringLiteral(FOLVANE_BIN_DIR "/hhc"));
    QCOMPARE(hhc.exitCode, 1);
    QVERIFY2(hhc.out.contains("--force"), hhc.out.constData());
    QCOMPARE(readFile(index), page);

    QCOMPARE(MakeProcess::run({site_, QStringLiteral("-o"), index, QStringLiteral("--force")}).exitCode, 0);
    QVERIFY(readFile(index).startsWith("ITSF"));
    // A title names a file in the project folder, never a path out of it.
    QCOMPARE(MakeProcess::run({site_, QStringLiteral("-t"), QStringLiteral("../x")}).exitCode, 0);
    QVERIFY(QFileInfo::exists(site.path(QStringLiteral("__x.chm"))));
    QVERIFY(!QFileInfo::exists(dir_->path() + QStringLiteral("/x.chm")));
}

void TestFaults::killedCompileIsNoInput() {
    GeneratedSite site(site_);
    site.page(QStringLiteral("index.htm"), QStringLiteral("首页"));
    site.file(QStringLiteral("noise.bin"), noise(48 * 1024 * 1024));
    QCOMPARE(MakeProcess::run({site_, QStringLiteral("--no-compile")}).exitCode, 0);
    QProcess hhc;
    hhc.setProcessEnvironment(compilerEnvironment());
    hhc.start(QStringLiteral(FOLVANE_BIN_DIR "/hhc"), {site.path(QStringLiteral("HH_KVEL.hhp"))});
    QVERIFY(waitFor([&] { return !leftovers(site_).isEmpty(); }));
    hhc.kill();
    hhc.waitForFinished();
    const QString leftover = leftovers(site_).value(0);
    QVERIFY(!leftover.isEmpty());

    const MakeProcess again = MakeProcess::run({site_});
    QCOMPARE(again.exitCode, 0);
    QVERIFY2(again.err.contains(leftover.toUtf8()), again.err.constData()); // named as left out
    QCOMPARE(leftovers(site_), QStringList());                              // and removed by the compile
    QVERIFY(!readFile(site.path(QStringLiteral("HH_KVEL.hhp"))).contains("folvane-"));
    QVERIFY(QFileInfo(site.path(QStringLiteral("HH_KVEL.chm"))).size() < 50 * 1024 * 1024);
}

void TestFaults::fileSizeLimit() {
    GeneratedSite site(site_);
    site.page(QStringLiteral("index.htm"), QStringLiteral("首页"));
    site.file(QStringLiteral("noise.bin"), noise(4 * 1024 * 1024));
    QCOMPARE(MakeProcess::run({site_, QStringLiteral("--no-compile")}).exitCode, 0);
    QProcess hhc;
    hhc.setProcessEnvironment(compilerEnvironment());
    hhc.setChildProcessModifier([] {
        const rlimit limit{1024 * 1024, 1024 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    hhc.start(QStringLiteral(FOLVANE_BIN_DIR "/hhc"), {site.path(QStringLiteral("HH_KVEL.hhp"))});
    QVERIFY(hhc.waitForFinished(120000));
    QCOMPARE(hhc.exitStatus(), QProcess::NormalExit);
    QCOMPARE(hhc.exitCode(), 1);
    QVERIFY(QString::fromUtf8(hhc.readAllStandardOutput()).contains(QStringLiteral("ulimit -f")));
    QCOMPARE(leftovers(site_), QStringList());
    QVERIFY(!QFileInfo::exists(site.path(QStringLiteral("HH_KVEL.chm"))));
}

void TestFaults::namesNotInTheSystemEncoding() {
    GeneratedSite site(site_);
    const QByteArray folder = QFile::encodeName(site_) + '/';
    const auto write = [&folder](const QByteArray& name, const QByteArray& bytes) {
        QFile file;
        const QByteArray path = folder + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT, 0644);
        return fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) && file.write(bytes) > 0;
    };
    // 中文.htm in GBK, as an archive made on a Chinese Windows unpacks it; a name no code page
    // reads; a name with a line break.
    QVERIFY(write("\xd6\xd0\xce\xc4.htm", "<html><head><title>GBK 页面</title></head><body>zebrafish</body></html>"));
    QVERIFY(write("bad\xff.htm", "x"));
    QVERIFY(write("line\nbreak.htm", "x"));
    QProcessEnvironment chinese;
    chinese.insert(QStringLiteral("LANG"), QStringLiteral("zh_CN.UTF-8"));
    chinese.insert(QStringLiteral("LC_ALL"), QString());
    chinese.insert(QStringLiteral("LC_CTYPE"), QString());

    const MakeProcess run = MakeProcess::run({site_, QStringLiteral("--titles"), QStringLiteral("between")}, chinese);
    QCOMPARE(run.exitCode, 0);
    const QString warnings = QString::fromUtf8(run.err);
    QVERIFY2(warnings.contains(QStringLiteral("bad\\xff.htm")) &&
                 warnings.contains(QStringLiteral("line\\x0abreak.htm")),
             qPrintable(warnings));
    QVERIFY(!warnings.contains(QStringLiteral("中文")));
#ifdef FOLVANE_HAVE_CHMLIB
    const auto inside = test::readWithChmlib(site.path(QStringLiteral("HH_KVEL.chm")));
    QVERIFY(inside.has_value());
    QVERIFY(inside->value(QStringLiteral("/中文.htm").toUtf8()).contains("zebrafish"));
    // The contents, in the help file's code page, name the page by the title read from it.
    QVERIFY(inside->value("/HH_KVEL.hhc").contains("\"GBK \xd2\xb3\xc3\xe6\""));
#endif
    // Names that are no text are beyond QDir: removed by their bytes.
    for (const QByteArray name : {"\xd6\xd0\xce\xc4.htm", "bad\xff.htm", "line\nbreak.htm"})
        ::unlink(QByteArray(folder + name).constData());
}

void TestFaults::compilerEndsWithItsParent() {
    GeneratedSite site(site_);
    site.page(QStringLiteral("index.htm"), QStringLiteral("首页"));
    site.file(QStringLiteral("noise.bin"), noise(48 * 1024 * 1024));
    QProcess make;
    make.start(MakeProcess::program(), {site_, QStringLiteral("-q")});
    // Saved, and the compiler's temporary file begun.
    QVERIFY(waitFor([&] { return site.projectFiles().size() == 2 && !leftovers(site_).isEmpty(); }));
    make.kill();
    make.waitForFinished();

    // The compiler stops and removes its temporary file instead of writing the help file.
    QVERIFY2(waitFor([&] { return leftovers(site_).isEmpty(); }, 10000), qPrintable(leftovers(site_).join(u' ')));
    QThread::msleep(500);
    QVERIFY(!QFileInfo::exists(site.path(QStringLiteral("HH_KVEL.chm"))));

    // With its own window, asked to end, it ends the same way.
    QProcess windowed;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("FOLVANE_HHC_NO_WINDOW"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    windowed.setProcessEnvironment(env);
    windowed.start(QStringLiteral(FOLVANE_BIN_DIR "/hhc"),
                   {QStringLiteral("--window"), site.path(QStringLiteral("HH_KVEL.hhp"))});
    QVERIFY(waitFor([&] { return !leftovers(site_).isEmpty(); }));
    windowed.terminate();
    QVERIFY(windowed.waitForFinished(10000));
    QCOMPARE(windowed.exitStatus(), QProcess::NormalExit);
    QCOMPARE(leftovers(site_), QStringList());
    QVERIFY(!QFileInfo::exists(site.path(QStringLiteral("HH_KVEL.chm"))));
}

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
