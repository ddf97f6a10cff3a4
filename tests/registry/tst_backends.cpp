#include "registry/MemoryRegistryBackend.h"
#include "registry/Reg.h"
#include "registry/RegistryBackend.h"

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

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsFallBackToTheDefault();
    void emptyKeyPathIsRejected();
    void writeCreatesParentsAndEmptyValue();
    void namesIgnoreLetterCase();
    void enumListsSubKeysSorted();
    void deleteTreeRemovesTwoLevels();
    void deleteTreeCollectsNamesFirstThenGoesDeepestFirst();
    void deleteOfMissingKeyCreatesNothing();
    void ansiZToStringCutsAtFirstNul_data();
    void ansiZToStringCutsAtFirstNul();

private:
    RegistryBackend& backend();

    std::unique_ptr<RegistryBackend> backend_;
};

void TestRegistry::init() {
    backend_.reset();
}

RegistryBackend& TestRegistry::backend() {
    if (!backend_)
        backend_ = std::make_unique<MemoryRegistryBackend>();
    return *backend_;
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

void TestRegistry::namesIgnoreLetterCase() {
    Reg reg(backend());
    reg.RegWriteValue(QStringLiteral("HhP.File\\Shell"), QStringLiteral("Name"), QStringLiteral("1"));
    reg.RegWriteValue(QStringLiteral("hhp.file\\SHELL"), QStringLiteral("NAME"), QStringLiteral("2"));
    QCOMPARE(reg.RegEnumSubKeys(QStringLiteral("HHP.FILE")), QStringList{QStringLiteral("Shell")});
    QCOMPARE(reg.RegReadValue(QStringLiteral("hhp.file\\shell"), QStringLiteral("name")), QStringLiteral("2"));
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

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_backends.moc"
