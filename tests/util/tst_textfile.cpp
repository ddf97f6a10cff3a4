#include "util/TextFile.h"

#include "support/ScriptedHost.h"
#include "util/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace folvane;

namespace {

QByteArray systemBytes(const QString& text) {
    QStringEncoder encoder(QStringConverter::System);
    return encoder(text);
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QString refusal(const QString& path) {
    return QStringLiteral("文件太大或不存在！\r\n") + path;
}

// Runs a write that must fail and returns the error it raised.
RuntimeError failedWrite(const QString& path, const QString& text, bool append) {
    try {
        WriteTextFile(path, text, append);
    } catch (const RuntimeError& error) {
        return error;
    }
    return RuntimeError(0, QStringLiteral("no error"));
}

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void sizeLimit_data();
    void sizeLimit();
    void unreadablePathsAreReported_data();
    void unreadablePathsAreReported();
    void emptyFileIsQuiet();
    void bytesComeBackUnchanged();
    void pagesAreDecodedAsTheCompilerDoes_data();
    void pagesAreDecodedAsTheCompilerDoes();
    void writeRoundTripsChineseText();
    void overwriteLeavesNoStaleTail();
    void appendAddsAtTheEnd();
    void writeFailuresThrow_data();
    void writeFailuresThrow();
    void failedWriteKeepsPreviousFile();
    void replacingKeepsPermissionsAndLinks();
    void deviceIsWrittenNotReplaced();

private:
    QTemporaryDir dir_;
};

void TestTextFile::sizeLimit_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("read");
    QTest::newRow("at the limit") << kMaxReadBytes << true;
    QTest::newRow("one byte over") << kMaxReadBytes + 1 << false;
}

void TestTextFile::sizeLimit() {
    QFETCH(qint64, size);
    QFETCH(bool, read);
    const QString path = dir_.filePath(QStringLiteral("big.txt"));
    QVERIFY(writeBytes(path, QByteArray(size, 'x')));
    ScriptedHost host;

    const QString text = ReadTextFile(path, host);

    if (read) {
        QCOMPARE(text.size(), size);
        QVERIFY(host.prompts().isEmpty());
    } else {
        QVERIFY(text.isEmpty());
        QCOMPARE(host.prompts().size(), 1);
        const ScriptedHost::Prompt& prompt = host.prompts().first();
        QCOMPARE(prompt.text, refusal(path));
        QCOMPARE(prompt.icon, MsgIcon::Critical);
        QCOMPARE(prompt.buttons, MsgButtons::OkOnly);
        QVERIFY(prompt.title.isEmpty());
    }
}

void TestTextFile::unreadablePathsAreReported_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << dir_.filePath(QStringLiteral("missing.htm"));
    QTest::newRow("missing folder") << dir_.filePath(QStringLiteral("gone/a.htm"));
    QTest::newRow("a folder") << dir_.path();
    QTest::newRow("empty path") << QString();
}

void TestTextFile::unreadablePathsAreReported() {
    QFETCH(QString, path);
    ScriptedHost host;
    QVERIFY(ReadTextFile(path, host).isEmpty());
    QCOMPARE(host.messageTexts(), QStringList{refusal(path)});
    QCOMPARE(host.prompts().first().icon, MsgIcon::Critical);
}

void TestTextFile::emptyFileIsQuiet() {
    const QString path = dir_.filePath(QStringLiteral("empty.txt"));
    QVERIFY(writeBytes(path, QByteArray()));
    ScriptedHost host;
    QVERIFY(ReadTextFile(path, host).isEmpty());
    QVERIFY(host.prompts().isEmpty());
}

void TestTextFile::bytesComeBackUnchanged() {
    // NUL bytes mark binary files for the title reader.
    const QString path = dir_.filePath(QStringLiteral("raw.bin"));
    const QByteArray bytes("<title>\0x\r\n\x01y\n", 14);
    QVERIFY(writeBytes(path, bytes));
    ScriptedHost host;

    const QString text = ReadTextFile(path, host);

    QCOMPARE(text.size(), 14);
    QCOMPARE(text.at(7), QChar(0));
    QCOMPARE(text.mid(8), QStringLiteral("x\r\n\x01y\n"));
    QCOMPARE(systemBytes(text), bytes);
}

void TestTextFile::pagesAreDecodedAsTheCompilerDoes_data() {
    const QByteArray title = QStringLiteral("<title>首页</title>").toUtf8();
    QStringEncoder gbk("GBK");
    const QByteArray gbkTitle = gbk(QStringLiteral("<title>首页</title>"));
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("declared GBK, Western locale")
        << QByteArray("en_US.UTF-8") << "<meta charset=\"gb2312\">" + gbkTitle;
    QTest::newRow("declared in http-equiv")
        << QByteArray("en_US.UTF-8") << "<META http-equiv=Content-Type content='text/html; charset=GBK'>" + gbkTitle;
    QTest::newRow("UTF-8, Chinese locale") << QByteArray("zh_CN.UTF-8") << title;
    QTest::newRow("byte-order mark over a wrong charset")
        << QByteArray("zh_CN.UTF-8") << "\xEF\xBB\xBF<meta charset=gbk>" + title;
    QTest::newRow("GBK declared UTF-8: ANSI code page")
        << QByteArray("zh_CN.UTF-8") << "<meta charset=utf-8>" + gbkTitle;
}

void TestTextFile::pagesAreDecodedAsTheCompilerDoes() {
    QFETCH(QByteArray, locale);
    QFETCH(QByteArray, bytes);
    const QByteArray previous = qgetenv("LC_ALL");
    qputenv("LC_ALL", locale);
    const QString path = dir_.filePath(QStringLiteral("page.htm"));
    QVERIFY(writeBytes(path, bytes));
    ScriptedHost host;

    const QString text = ReadTextFile(path, host);

    qputenv("LC_ALL", previous);
    QVERIFY2(text.endsWith(QStringLiteral("<title>首页</title>")), qPrintable(text));
}

void TestTextFile::writeRoundTripsChineseText() {
    const QString path = dir_.filePath(QStringLiteral("中文.hhc"));
    const QString text = QStringLiteral("<title>帮助文件</title>\r\n目录");

    WriteTextFile(path, text);

    // No byte-order mark, no line break added.
    QCOMPARE(readBytes(path), systemBytes(text));
    ScriptedHost host;
    QCOMPARE(ReadTextFile(path, host), text);
}

void TestTextFile::overwriteLeavesNoStaleTail() {
    const QDir folder(dir_.filePath(QStringLiteral("overwrite")));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    const QString path = folder.filePath(QStringLiteral("HH_KVEL.hhp"));
    WriteTextFile(path, QStringLiteral("a much longer first version\r\n"));

    WriteTextFile(path, QStringLiteral("short"));

    QCOMPARE(readBytes(path), QByteArray("short"));
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{u"HH_KVEL.hhp"_qs});
}

void TestTextFile::appendAddsAtTheEnd() {
    const QString path = dir_.filePath(QStringLiteral("log.txt"));
    WriteTextFile(path, QStringLiteral("一"), true);
    WriteTextFile(path, QStringLiteral("二\r\n"), true);
    QCOMPARE(readBytes(path), systemBytes(QStringLiteral("一二\r\n")));
}

void TestTextFile::writeFailuresThrow_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("append");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");

    const QString notFound = QStringLiteral("找不到路径");
    const QString missingFolder = dir_.filePath(QStringLiteral("gone/HH_KVEL.hhc"));
    const QString fileAsFolder = dir_.filePath(QStringLiteral("plain.txt/HH_KVEL.hhc"));
    QTest::newRow("missing folder") << missingFolder << false << int(RuntimeError::PathNotFound) << notFound;
    QTest::newRow("missing folder, append") << missingFolder << true << int(RuntimeError::PathNotFound) << notFound;
    QTest::newRow("parent is a file") << fileAsFolder << false << int(RuntimeError::PathNotFound) << notFound;
    QTest::newRow("parent is a file, append") << fileAsFolder << true << int(RuntimeError::PathNotFound) << notFound;
    QTest::newRow("target is a folder") << dir_.path() << false << int(RuntimeError::FileAccess)
                                        << QStringLiteral("文件写入失败：") + qt_error_string(EISDIR);
    if (QFileInfo::exists(QStringLiteral("/dev/full")))
        QTest::newRow("disk full") << QStringLiteral("/dev/full") << true << int(RuntimeError::DiskFull)
                                   << QStringLiteral("磁盘已满");
}

void TestTextFile::writeFailuresThrow() {
    QFETCH(QString, path);
    QFETCH(bool, append);
    QFETCH(int, code);
    QFETCH(QString, reason);
    QVERIFY(writeBytes(dir_.filePath(QStringLiteral("plain.txt")), "x"));

    const RuntimeError error = failedWrite(path, QStringLiteral("内容"), append);

    QCOMPARE(error.number(), code);
    QCOMPARE(error.description(), reason + u'\n' + path);
}

void TestTextFile::replacingKeepsPermissionsAndLinks() {
    const QString target = dir_.filePath(QStringLiteral("kept.hhp"));
    const QString link = dir_.filePath(QStringLiteral("link.hhp"));
    QVERIFY(writeBytes(target, "old"));
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(target, mode));
    QVERIFY(QFile::link(target, link));

    WriteTextFile(link, QStringLiteral("新的"));

    QCOMPARE(readBytes(target), systemBytes(QStringLiteral("新的")));
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QCOMPARE(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser), mode);
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).filter(QStringLiteral("folvane")),
             QStringList());
}

void TestTextFile::failedWriteKeepsPreviousFile() {
    const QDir folder(dir_.filePath(QStringLiteral("keep")));
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    const QString path = folder.filePath(QStringLiteral("HH_KVEL.hhc"));
    WriteTextFile(path, QStringLiteral("旧内容"));
    // A lone surrogate has no encoding in any code page.
    const QString unencodable = QStringLiteral("新") + QChar(0xD800);

    QVERIFY_THROWS_EXCEPTION(RuntimeError, WriteTextFile(path, unencodable));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, WriteTextFile(path, unencodable, true));

    QCOMPARE(readBytes(path), systemBytes(QStringLiteral("旧内容")));
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{u"HH_KVEL.hhc"_qs});
    const RuntimeError error = failedWrite(path, unencodable, false);
    QCOMPARE(error.number(), int(RuntimeError::InvalidArgument));
    QVERIFY(error.description().endsWith(u'\n' + path));
}

void TestTextFile::deviceIsWrittenNotReplaced() {
    // Renaming a temporary file over a device would replace the device itself.
    const QString device = QStringLiteral("/dev/full");
    if (!QFileInfo::exists(device))
        QSKIP("no /dev/full here");
    QCOMPARE(failedWrite(device, QStringLiteral("x"), false).number(), int(RuntimeError::DiskFull));
    const QFileInfo info(device);
    QVERIFY(info.exists() && !info.isFile());
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
