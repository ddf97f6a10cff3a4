#include "app/FmCHM.h"
#include "support/ChildProcess.h"
#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <cerrno>

using namespace folvane;
using folvane::test::ChildSetup;
using folvane::test::runInChild;

namespace {

const QByteArray kOldProject = "[OPTIONS]\r\nTitle=old\r\n";
const QByteArray kOldContents = "<HTML>old contents</HTML>";

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return "<not a file>"; // a device may never end
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList listing(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A project of many pages, so that its contents file is far larger than the old one.
void fillProject(FmCHM& form, const QString& folder, int pages) {
    form.project().setComparePath(folder);
    QList<ListEntry> files;
    QList<ListEntry> toc;
    for (int i = 0; i < pages; ++i) {
        files.append({folder + QStringLiteral("/page%1.htm").arg(i), 0, false});
        toc.append({QStringLiteral("第 %1 页").arg(i), i, false});
    }
    form.project().restore(files, toc);
}

// Saves and answers what the user saw and what became of the two files.
QStringList saveAndReport(const QString& folder, int pages = 50) {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    fillProject(form, folder, pages);
    form.SaveIt();
    QStringList report = host.messageTexts();
    report << (readFile(form.projectFilePath()) == kOldProject ? QStringLiteral("project kept")
                                                               : QStringLiteral("project changed"))
           << (readFile(form.contentsFilePath()) == kOldContents ? QStringLiteral("contents kept")
                                                                 : QStringLiteral("contents changed"))
           << listing(folder).join(u' ') << (form.SavedFlag ? QStringLiteral("saved") : QStringLiteral("unsaved"));
    return report;
}

bool writeOldProject(const QString& folder) {
    return writeFile(folder + QStringLiteral("/HH_KVEL.hhp"), kOldProject) &&
           writeFile(folder + QStringLiteral("/HH_KVEL.hhc"), kOldContents);
}

QStringList expectedReport(const QString& message, const QString& folder, const QString& file) {
    return {message + u'\n' + folder + u'/' + file, QStringLiteral("project kept"), QStringLiteral("contents kept"),
            QStringLiteral("HH_KVEL.hhc HH_KVEL.hhp"), QStringLiteral("unsaved")};
}

// Fills a file system until it has no room left.
bool fillUp(const QString& folder) {
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    return true;
}

} // namespace

// A save that cannot complete shows why and leaves the previous project files as they were,
// with no temporary file beside them.
class TestNothingLost : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readOnlyFolder();
    void fullFileSystem();
    void fullDevice();
    void projectFileCannotBeReplaced();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString folder_;
};

void TestNothingLost::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(chmod(QFile::encodeName(dir_->path()).constData(), 0755) == 0);
    folder_ = dir_->path() + QStringLiteral("/project");
    QVERIFY(QDir().mkdir(folder_));
}

void TestNothingLost::readOnlyFolder() {
    QVERIFY(writeOldProject(folder_));
    // The files themselves may be written: only the folder refuses new ones.
    for (const char* name : {"/HH_KVEL.hhp", "/HH_KVEL.hhc"})
        QVERIFY(chmod(QFile::encodeName(folder_ + QString::fromUtf8(name)).constData(), 0666) == 0);
    QVERIFY(chmod(QFile::encodeName(folder_).constData(), 0555) == 0);

    const auto report = runInChild(ChildSetup::Unprivileged, [&] { return saveAndReport(folder_); });
    chmod(QFile::encodeName(folder_).constData(), 0755);
    if (!report)
        QSKIP("this machine cannot drop root's permissions");
    QCOMPARE(*report, expectedReport(QStringLiteral("权限被拒绝"), folder_, QStringLiteral("HH_KVEL.hhp")));
}

void TestNothingLost::fullFileSystem() {
    const auto report = runInChild(ChildSetup::PrivateMounts, [&]() -> QStringList {
        if (!test::mountTmpfs(folder_, 64 * 1024))
            return {QStringLiteral("unsupported")};
        if (!writeOldProject(folder_) || !fillUp(folder_))
            return {QStringLiteral("cannot prepare the file system")};
        QStringList saved = saveAndReport(folder_, 2000);
        saved.replace(3, saved[3].remove(QStringLiteral(" filler")).remove(QStringLiteral("filler ")));
        return saved;
    });
    if (!report || *report == QStringList{QStringLiteral("unsupported")})
        QSKIP("this machine cannot mount a small file system for the test");
    QCOMPARE(*report, expectedReport(QStringLiteral("磁盘已满"), folder_, QStringLiteral("HH_KVEL.hhp")));
}

void TestNothingLost::fullDevice() {
    // A contents file that is a link to a device with no room: the device is written in place.
    QVERIFY(writeFile(folder_ + QStringLiteral("/HH_KVEL.hhp"), kOldProject));
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full here");
    QVERIFY(QFile::link(QStringLiteral("/dev/full"), folder_ + QStringLiteral("/HH_KVEL.hhc")));

    const QStringList report = saveAndReport(folder_);

    QCOMPARE(report.value(0), QStringLiteral("磁盘已满\n") + folder_ + QStringLiteral("/HH_KVEL.hhc"));
    QCOMPARE(report.mid(1), (QStringList{QStringLiteral("project changed"), QStringLiteral("contents changed"),
                                         QStringLiteral("HH_KVEL.hhc HH_KVEL.hhp"), QStringLiteral("unsaved")}));
    // The project file was replaced whole before the contents file failed.
    const QByteArray project = readFile(folder_ + QStringLiteral("/HH_KVEL.hhp"));
    QVERIFY(project.startsWith("[OPTIONS]\r\n"));
    QVERIFY(project.endsWith(QStringLiteral("/page49.htm\r\n").toUtf8()));
    QCOMPARE(QFileInfo(folder_ + QStringLiteral("/HH_KVEL.hhc")).symLinkTarget(), QStringLiteral("/dev/full"));
}

void TestNothingLost::projectFileCannotBeReplaced() {
    // A file mounted over the project file can be neither renamed over nor removed.
    const auto report = runInChild(ChildSetup::PrivateMounts, [&]() -> QStringList {
        const QString pinned = dir_->path() + QStringLiteral("/pinned");
        if (!test::mountTmpfs(folder_, 1024 * 1024) || !writeOldProject(folder_) || !writeFile(pinned, kOldProject) ||
            !test::bindMount(pinned, folder_ + QStringLiteral("/HH_KVEL.hhp")))
            return {QStringLiteral("unsupported")};
        return saveAndReport(folder_);
    });
    if (!report || *report == QStringList{QStringLiteral("unsupported")})
        QSKIP("this machine cannot mount a file for the test");
    QCOMPARE(*report, expectedReport(QStringLiteral("文件写入失败：") + qt_error_string(EBUSY), folder_,
                                     QStringLiteral("HH_KVEL.hhp")));
}

QTEST_GUILESS_MAIN(TestNothingLost)
#include "tst_nothinglost.moc"
