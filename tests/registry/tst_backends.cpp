#include "registry/MemoryRegistryBackend.h"
#include "registry/Reg.h"
#include "registry/RegFileText.h"
#include "registry/RegistryBackend.h"
#ifndef Q_OS_WIN
#include "registry/HiveRegistryBackend_posix.h"
#endif

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace folvane;

namespace {

// Records the calls that change the tree, to check the order of a tree delete.
class RecordingBackend : public MemoryRegistryBackend {
public:
    QStringList calls;
    qint32 enumSubKey(const QString& keyPath, int index, QString& name) override {
        calls.append(QStringLiteral("enum ") + keyPath);
        return MemoryRegistryBackend::enumSubKey(keyPath, index, name);
    }
    qint32 deleteKey(const QString& parentPath, const QString& subKey) override {
        calls.append(QStringLiteral("delete ") + parentPath + QLatin1Char('|') + subKey);
        return MemoryRegistryBackend::deleteKey(parentPath, subKey);
    }
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray hiveText(const char* body) {
    return QByteArray("Windows Registry Editor Version 5.00\r\n\r\n") + body;
}

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsFallBackToTheDefault_data();
    void readsFallBackToTheDefault();
    void emptyKeyPathIsRejected_data();
    void emptyKeyPathIsRejected();
    void writeCreatesParentsAndEmptyValue_data();
    void writeCreatesParentsAndEmptyValue();
    void namesIgnoreLetterCase_data();
    void namesIgnoreLetterCase();
    void enumListsSubKeysSorted_data();
    void enumListsSubKeysSorted();
    void deleteTreeRemovesTwoLevels_data();
    void deleteTreeRemovesTwoLevels();
    void deleteTreeCollectsNamesFirstThenGoesDeepestFirst();
    void deleteOfMissingKeyCreatesNothing_data();
    void deleteOfMissingKeyCreatesNothing();
    void ansiZToStringCutsAtFirstNul_data();
    void ansiZToStringCutsAtFirstNul();
#ifndef Q_OS_WIN
    void hiveSurvivesRestart();
    void hiveRoundTripsAwkwardStrings_data();
    void hiveRoundTripsAwkwardStrings();
    void hiveReadsTolerantly();
    void hiveKeepsValuesOfOtherTypes();
    void damagedHiveIsKeptAside_data();
    void damagedHiveIsKeptAside();
    void unreadableHiveIsNeverReplaced();
    void hiveWriteFailureIsReported();
#endif

private:
    void addBackends();
    RegistryBackend& backend();

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<RegistryBackend> backend_;
};

void TestRegistry::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    backend_.reset();
}

void TestRegistry::addBackends() {
    QTest::addColumn<bool>("hive");
    QTest::newRow("memory") << false;
#ifndef Q_OS_WIN
    QTest::newRow("hive") << true;
#endif
}

RegistryBackend& TestRegistry::backend() {
    QFETCH(bool, hive);
#ifndef Q_OS_WIN
    if (hive && !backend_)
        backend_ = std::make_unique<HiveRegistryBackend>(dir_->filePath(QStringLiteral("data/classes_root.reg")));
#endif
    if (!backend_)
        backend_ = std::make_unique<MemoryRegistryBackend>();
    return *backend_;
}

void TestRegistry::readsFallBackToTheDefault_data() {
    addBackends();
}

void TestRegistry::readsFallBackToTheDefault() {
    Reg reg(backend());
    const QString fallback = QStringLiteral("fallback");
    QCOMPARE(reg.RegReadValue(QStringLiteral("missing\\key"), QString(), fallback), fallback);
    QCOMPARE(reg.RegLastError(), RegCode::FileNotFound);

    reg.RegWriteValue(QStringLiteral("k"), QStringLiteral("named"), QStringLiteral("n"));
    QCOMPARE(reg.RegReadValue(QStringLiteral("k"), QString(), fallback), fallback); // default value never set
    QCOMPARE(reg.RegLastError(), RegCode::FileNotFound);
    QCOMPARE(reg.RegReadValue(QStringLiteral("k"), QStringLiteral("named"), fallback), QStringLiteral("n"));
    QCOMPARE(reg.RegLastError(), RegCode::Success);

    reg.RegWriteValue(QStringLiteral("k"), QString(), QString());
    QCOMPARE(reg.RegReadValue(QStringLiteral("k"), QString(), fallback), QString());
    QCOMPARE(reg.RegLastError(), RegCode::Success);
}

void TestRegistry::emptyKeyPathIsRejected_data() {
    addBackends();
}

void TestRegistry::emptyKeyPathIsRejected() {
    Reg reg(backend());
    QCOMPARE(reg.RegReadValue(QString(), QString(), QStringLiteral("fallback")), QString());
    QCOMPARE(reg.RegLastError(), RegCode::EmptyKeyPath);
    reg.RegWriteValue(QString(), QString(), QStringLiteral("x"));
    QCOMPARE(reg.RegLastError(), RegCode::EmptyKeyPath);
    QVERIFY(reg.RegEnumSubKeys(QString()).isEmpty());

    reg.RegWriteValue(QStringLiteral("a\\b"), QString(), QStringLiteral("x"));
    QCOMPARE(reg.RegLastError(), RegCode::Success);
    reg.RegDeleteTree(QStringLiteral("a"), QString());
    QCOMPARE(reg.RegLastError(), RegCode::EmptyKeyPath);
    QCOMPARE(reg.RegReadValue(QStringLiteral("a\\b"), QString()), QStringLiteral("x"));
    // A path with an empty part names no key (the "\shell" of a missing file type).
    QCOMPARE(reg.RegReadValue(QStringLiteral("\\shell"), QString(), QStringLiteral("d")), QStringLiteral("d"));
    reg.RegWriteValue(QStringLiteral("\\shell"), QString(), QStringLiteral("x"));
    QCOMPARE(reg.RegLastError(), RegCode::BadPathName);
    QCOMPARE(reg.RegEnumSubKeys(QString()), QStringList{QStringLiteral("a")});
}

void TestRegistry::writeCreatesParentsAndEmptyValue_data() {
    addBackends();
}

void TestRegistry::writeCreatesParentsAndEmptyValue() {
    Reg reg(backend());
    reg.RegWriteValue(QStringLiteral("p\\q\\r"), QString(), QString());
    QCOMPARE(reg.RegLastError(), RegCode::Success);
    QCOMPARE(reg.RegEnumSubKeys(QStringLiteral("p")), QStringList{QStringLiteral("q")});
    QCOMPARE(reg.RegEnumSubKeys(QStringLiteral("p\\q")), QStringList{QStringLiteral("r")});
    QCOMPARE(reg.RegReadValue(QStringLiteral("p\\q\\r"), QString(), QStringLiteral("unset")), QString());
    // The parents are created as keys only, without values.
    QCOMPARE(reg.RegReadValue(QStringLiteral("p\\q"), QString(), QStringLiteral("unset")), QStringLiteral("unset"));

    reg.RegWriteValue(QStringLiteral("p\\q\\r"), QString(), QStringLiteral("编译(&E)"));
    QCOMPARE(reg.RegReadValue(QStringLiteral("p\\q\\r"), QString()), QStringLiteral("编译(&E)"));
}

void TestRegistry::namesIgnoreLetterCase_data() {
    addBackends();
}

void TestRegistry::namesIgnoreLetterCase() {
    Reg reg(backend());
    reg.RegWriteValue(QStringLiteral("HhP.File\\Shell"), QStringLiteral("Name"), QStringLiteral("1"));
    reg.RegWriteValue(QStringLiteral("hhp.file\\SHELL"), QStringLiteral("NAME"), QStringLiteral("2"));
    QCOMPARE(reg.RegEnumSubKeys(QStringLiteral("HHP.FILE")), QStringList{QStringLiteral("Shell")});
    QCOMPARE(reg.RegReadValue(QStringLiteral("hhp.file\\shell"), QStringLiteral("name")), QStringLiteral("2"));
}

void TestRegistry::enumListsSubKeysSorted_data() {
    addBackends();
}

void TestRegistry::enumListsSubKeysSorted() {
    Reg reg(backend());
    QVERIFY(reg.RegEnumSubKeys(QStringLiteral("k")).isEmpty());
    QCOMPARE(reg.RegLastError(), RegCode::FileNotFound);
    for (const char* name : {"k\\open", "k\\Edit", "k\\编译(&E)", "k\\b\\deeper"})
        reg.RegWriteValue(QString::fromUtf8(name), QString(), QString());
    QCOMPARE(
        reg.RegEnumSubKeys(QStringLiteral("k")),
        (QStringList{QStringLiteral("b"), QStringLiteral("Edit"), QStringLiteral("open"), QStringLiteral("编译(&E)")}));
    QCOMPARE(reg.RegLastError(), RegCode::NoMoreItems);
}

void TestRegistry::deleteTreeRemovesTwoLevels_data() {
    addBackends();
}

void TestRegistry::deleteTreeRemovesTwoLevels() {
    Reg reg(backend());
    for (const char* path : {"t\\shell\\a\\command", "t\\shell\\b\\command", "t\\shell\\b\\ddeexec", "t\\other"})
        reg.RegWriteValue(QString::fromLatin1(path), QString(), QStringLiteral("x"));
    reg.RegDeleteTree(QStringLiteral("t"), QStringLiteral("shell"));
    QCOMPARE(reg.RegLastError(), RegCode::Success);
    QCOMPARE(reg.RegEnumSubKeys(QStringLiteral("t")), QStringList{QStringLiteral("other")});
    QCOMPARE(reg.RegReadValue(QStringLiteral("t\\shell\\a\\command"), QString(), QStringLiteral("gone")),
             QStringLiteral("gone"));

    // A key at the top of the root, named with a path of two parts.
    reg.RegWriteValue(QStringLiteral("top\\x\\y\\z"), QString(), QString());
    reg.RegDeleteTree(QString(), QStringLiteral("top\\x"));
    QCOMPARE(reg.RegEnumSubKeys(QStringLiteral("top")), QStringList());
    QCOMPARE(reg.RegLastError(), RegCode::NoMoreItems);
}

void TestRegistry::deleteTreeCollectsNamesFirstThenGoesDeepestFirst() {
    RecordingBackend backend;
    Reg reg(backend);
    for (const char* path : {"r\\k\\a\\x", "r\\k\\b"})
        reg.RegWriteValue(QString::fromLatin1(path), QString(), QString());
    backend.calls.clear();
    reg.RegDeleteTree(QStringLiteral("r"), QStringLiteral("k"));
    const QStringList expected = {
        QStringLiteral("enum r\\k"),        QStringLiteral("enum r\\k"),     QStringLiteral("enum r\\k"),
        QStringLiteral("enum r\\k\\a"),     QStringLiteral("enum r\\k\\a"),  QStringLiteral("enum r\\k\\a\\x"),
        QStringLiteral("delete r\\k\\a|x"), QStringLiteral("delete r\\k|a"), QStringLiteral("enum r\\k\\b"),
        QStringLiteral("delete r\\k|b"),    QStringLiteral("delete r|k"),
    };
    QCOMPARE(backend.calls, expected);
    QCOMPARE(reg.RegEnumSubKeys(QStringLiteral("r")), QStringList());
}

void TestRegistry::deleteOfMissingKeyCreatesNothing_data() {
    addBackends();
}

void TestRegistry::deleteOfMissingKeyCreatesNothing() {
    Reg reg(backend());
    reg.RegDeleteTree(QStringLiteral("no\\such"), QStringLiteral("key"));
    QCOMPARE(reg.RegLastError(), RegCode::FileNotFound);
    QVERIFY(reg.RegEnumSubKeys(QString()).isEmpty());
}

void TestRegistry::ansiZToStringCutsAtFirstNul_data() {
    QTest::addColumn<QString>("buffer");
    QTest::addColumn<QString>("text");
    QTest::newRow("no nul") << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("padded") << QString(QStringLiteral("shell") + QString(250, QChar(u'\0'))) << QStringLiteral("shell");
    QTest::newRow("two parts") << QString::fromUtf16(u"a\0b\0c", 5) << QStringLiteral("a");
    QTest::newRow("leading nul") << QString(QChar(u'\0')) << QString();
}

void TestRegistry::ansiZToStringCutsAtFirstNul() {
    QFETCH(QString, buffer);
    QFETCH(QString, text);
    QCOMPARE(Reg::AnsiZToString(buffer), text);
}

#ifndef Q_OS_WIN

void TestRegistry::hiveSurvivesRestart() {
    const QString path = dir_->filePath(QStringLiteral("deep/folder/classes_root.reg"));
    {
        HiveRegistryBackend first(path);
        Reg reg(first);
        reg.RegWriteValue(QStringLiteral(".hhp"), QString(), QStringLiteral("hhp.file"));
        reg.RegWriteValue(QStringLiteral("hhp.file\\shell\\编译(&E)\\command"), QString(),
                          QStringLiteral("\"/opt/folvane/hhc\"  \"%1\""));
        reg.RegWriteValue(QStringLiteral("hhp.file\\shell\\gone"), QString(), QString());
        reg.RegDeleteTree(QStringLiteral("hhp.file\\shell"), QStringLiteral("gone"));
    }
    HiveRegistryBackend second(path);
    Reg reg(second);
    QCOMPARE(reg.RegReadValue(QStringLiteral(".HHP"), QString()), QStringLiteral("hhp.file"));
    QCOMPARE(reg.RegReadValue(QStringLiteral("hhp.file\\shell\\编译(&E)\\command"), QString()),
             QStringLiteral("\"/opt/folvane/hhc\"  \"%1\""));
    QCOMPARE(reg.RegEnumSubKeys(QStringLiteral("hhp.file\\shell")), QStringList{QStringLiteral("编译(&E)")});

    const QString text = QString::fromUtf8(readAll(path));
    QVERIFY(text.startsWith(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n")));
    QVERIFY(text.contains(QStringLiteral("[HKEY_CLASSES_ROOT\\.hhp]\r\n@=\"hhp.file\"\r\n")));
    QVERIFY(text.contains(QStringLiteral("[HKEY_CLASSES_ROOT\\hhp.file\\shell\\编译(&E)\\command]\r\n"
                                         "@=\"\\\"/opt/folvane/hhc\\\"  \\\"%1\\\"\"\r\n")));
    QVERIFY(!text.contains(QStringLiteral("gone")));
    QCOMPARE(QDir(dir_->filePath(QStringLiteral("deep/folder"))).entryList(QDir::Files),
             QStringList{QStringLiteral("classes_root.reg")});
}

void TestRegistry::hiveRoundTripsAwkwardStrings_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("backslashes and quotes") << QStringLiteral("\"C:\\a b\\hhc.exe\"  \"%1\" \\\\");
    QTest::newRow("trailing backslash") << QStringLiteral("C:\\");
    QTest::newRow("line breaks") << QStringLiteral("one\r\ntwo\nthree");
    QTest::newRow("long with a break") << QString(QString(60, QChar(u'x')) + QStringLiteral("\n编"));
    QTest::newRow("tab and brackets") << QStringLiteral("a\t[HKEY_CLASSES_ROOT\\x]");
}

void TestRegistry::hiveRoundTripsAwkwardStrings() {
    QFETCH(QString, value);
    const QString path = dir_->filePath(QStringLiteral("classes_root.reg"));
    HiveRegistryBackend first(path);
    Reg(first).RegWriteValue(QStringLiteral("k"), QStringLiteral("v\"\\"), value);
    HiveRegistryBackend second(path);
    Reg reg(second);
    QCOMPARE(reg.RegReadValue(QStringLiteral("k"), QStringLiteral("v\"\\")), value);
    QCOMPARE(reg.RegEnumSubKeys(QString()), QStringList{QStringLiteral("k")});
}

void TestRegistry::hiveReadsTolerantly() {
    const QString path = dir_->filePath(QStringLiteral("classes_root.reg"));
    QVERIFY(writeAll(path, hiveText("; a comment\n"
                                    "[HKEY_LOCAL_MACHINE\\Software\\x]\n"
                                    "@=\"other root\"\n"
                                    "[HKCR\\.hhp]\n"
                                    "@=\"hhp.file\"\n"
                                    "junk line\n"
                                    "\"broken=\"\n"
                                    "[HKEY_CLASSES_ROOT\\half\n"
                                    "@=\"belongs nowhere\"\n"
                                    "[-HKEY_CLASSES_ROOT\\deleted]\n"
                                    "@=\"ignored\"\n"
                                    "[hkey_classes_root\\.HHP]\n"
                                    "\"Content Type\" = \"text/plain\"\n")));
    HiveRegistryBackend backend(path);
    Reg reg(backend);
    QCOMPARE(reg.RegEnumSubKeys(QString()), QStringList{QStringLiteral(".hhp")});
    QCOMPARE(reg.RegReadValue(QStringLiteral(".hhp"), QString()), QStringLiteral("hhp.file"));
    QCOMPARE(reg.RegReadValue(QStringLiteral(".hhp"), QStringLiteral("content type")), QStringLiteral("text/plain"));
    QVERIFY(backend.setAsidePath().isEmpty());

    // The old header and UTF-16 with a byte order mark are .reg text too.
    QVERIFY(writeAll(path, "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\old]\r\n@=\"4\"\r\n"));
    QCOMPARE(reg.RegReadValue(QStringLiteral("old"), QString()), QStringLiteral("4"));
    const QString wide =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT\\w]\r\n@=\"编\"\r\n");
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2);
    QVERIFY(writeAll(path, utf16));
    QCOMPARE(reg.RegReadValue(QStringLiteral("w"), QString()), QStringLiteral("编"));
    QVERIFY(backend.setAsidePath().isEmpty());
}

void TestRegistry::hiveKeepsValuesOfOtherTypes() {
    const QString path = dir_->filePath(QStringLiteral("classes_root.reg"));
    QVERIFY(writeAll(path, hiveText("[HKEY_CLASSES_ROOT\\k]\n"
                                    "\"flags\"=dword:00000001\n"
                                    "\"bin\"=hex:01,02,\\\n"
                                    "  03\n")));
    HiveRegistryBackend backend(path);
    Reg reg(backend);
    QCOMPARE(reg.RegReadValue(QStringLiteral("k"), QStringLiteral("flags"), QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(reg.RegLastError(), RegCode::UnsupportedType);
    reg.RegWriteValue(QStringLiteral("k"), QString(), QStringLiteral("new"));
    const QByteArray text = readAll(path);
    QVERIFY(text.contains("\"flags\"=dword:00000001\r\n"));
    QVERIFY(text.contains("\"bin\"=hex:01,02,03\r\n"));
    QVERIFY(text.contains("@=\"new\"\r\n"));
}

void TestRegistry::damagedHiveIsKeptAside_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("binary") << QByteArray("\x00\x01\x02regf\xFF\x00\x10", 11);
    QTest::newRow("wrong header") << QByteArray("[HKEY_CLASSES_ROOT\\.hhp]\r\n@=\"hhp.file\"\r\n");
    QTest::newRow("not utf-8") << QByteArray("Windows Registry Editor Version 5.00\r\n@=\"\xC3\x28\"\r\n");
}

void TestRegistry::damagedHiveIsKeptAside() {
    QFETCH(QByteArray, bytes);
    const QString path = dir_->filePath(QStringLiteral("classes_root.reg"));
    QVERIFY(writeAll(path, bytes));
    HiveRegistryBackend backend(path);
    Reg reg(backend);
    QCOMPARE(reg.RegReadValue(QStringLiteral(".hhp"), QString(), QStringLiteral("none")), QStringLiteral("none"));
    QCOMPARE(reg.RegLastError(), RegCode::FileNotFound);

    const QString aside = backend.setAsidePath();
    QVERIFY(aside.startsWith(path + QStringLiteral(".damaged-")));
    QCOMPARE(readAll(aside), bytes);
    QVERIFY(!QFile::exists(path));

    reg.RegWriteValue(QStringLiteral(".hhp"), QString(), QStringLiteral("hhp.file"));
    QCOMPARE(reg.RegLastError(), RegCode::Success);
    QCOMPARE(reg.RegReadValue(QStringLiteral(".hhp"), QString()), QStringLiteral("hhp.file"));
    QCOMPARE(readAll(aside), bytes);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), 2);
}

void TestRegistry::unreadableHiveIsNeverReplaced() {
    // A folder where the file should be: it can neither be read nor moved aside as damaged.
    const QString path = dir_->filePath(QStringLiteral("classes_root.reg"));
    QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
    HiveRegistryBackend backend(path);
    Reg reg(backend);
    reg.RegWriteValue(QStringLiteral(".hhp"), QString(), QStringLiteral("hhp.file"));
    QVERIFY(reg.RegLastError() != RegCode::Success);
    QCOMPARE(reg.RegReadValue(QStringLiteral(".hhp"), QString(), QStringLiteral("d")), QStringLiteral("d"));
    QVERIFY(QFileInfo(path + QStringLiteral("/inside")).isDir());
    QVERIFY(backend.setAsidePath().isEmpty());
}

void TestRegistry::hiveWriteFailureIsReported() {
    const QString blocker = dir_->filePath(QStringLiteral("file"));
    QVERIFY(writeAll(blocker, "x"));
    HiveRegistryBackend backend(blocker + QStringLiteral("/classes_root.reg"));
    Reg reg(backend);
    reg.RegWriteValue(QStringLiteral("k"), QString(), QStringLiteral("v"));
    QCOMPARE(reg.RegLastError(), RegCode::RegistryIoFailed);
    QCOMPARE(reg.RegReadValue(QStringLiteral("k"), QString(), QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(readAll(blocker), QByteArray("x"));
}

#endif

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_backends.moc"
