#include "app/FmCHM.h"
#include "gui/QtHost.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

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
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
} // namespace

// "编译" starts the compiler beside the program on the saved project, and returns at once.
class TestCompile : public QObject {
    Q_OBJECT
private slots:
    void startsTheCompilerOnTheProjectFile();
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
    form.ComparePath = project.path();

    // Not saved yet: nothing starts.
    form.Cmd_Click(3);
    QTest::qWait(300);
    QVERIFY(!QFile::exists(record));

    const QString projectFile = project.filePath(QStringLiteral("HH_KVEL.hhp"));
    QVERIFY(writeFile(projectFile, "[OPTIONS]\r\n"));
    form.open_Click();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 5000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("1\n") + projectFile + u'\n');
#endif
}

QTEST_MAIN(TestCompile)
#include "tst_compile.moc"
