#include "util/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {

constexpr PathStyle Win = PathStyle::Windows;
constexpr PathStyle Posix = PathStyle::Posix;

QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}

// C:\site and C:\site\sub exist; Windows finds them whatever the letter case.
bool windowsFolder(const QString& path) {
    return path.compare(u"C:\\site", Qt::CaseInsensitive) == 0 ||
           path.compare(u"C:\\site\\sub", Qt::CaseInsensitive) == 0;
}

bool posixFolder(const QString& path) {
    return path == u"/site" || path == u"/site/sub";
}

} // namespace

class TestPaths : public QObject {
    Q_OBJECT
private slots:
    void pathPart_data();
    void pathPart();
    void parentFolder_data();
    void parentFolder();
    void relativePath_data();
    void relativePath();
    void relativePathAsksTheFileSystem();
    void isInFolder_data();
    void isInFolder();
    void stripLeadingFolder_data();
    void stripLeadingFolder();
};

void TestPaths::pathPart_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");

    const QString example = s(u"C:\\site\\sub\\a.b.htm?x=1");
    QTest::newRow("win name") << Win << example << 0 << s(u"a.b.htm");
    QTest::newRow("win name without extension") << Win << example << 1 << s(u"a.b");
    QTest::newRow("win extension") << Win << example << 2 << s(u"htm");
    QTest::newRow("win bare name") << Win << s(u"a.htm") << 0 << s(u"a.htm");
    QTest::newRow("win no dot, mode 1") << Win << s(u"C:\\site\\readme") << 1 << s(u"readme");
    QTest::newRow("win no dot, mode 2") << Win << s(u"C:\\site\\readme") << 2 << QString();
    QTest::newRow("win trailing dot, mode 1") << Win << s(u"C:\\site\\name.") << 1 << s(u"name");
    QTest::newRow("win trailing dot, mode 2") << Win << s(u"C:\\site\\name.") << 2 << QString();
    QTest::newRow("win query first, mode 0") << Win << s(u"page.htm?a.b=c") << 0 << s(u"page.htm");
    QTest::newRow("win query first, mode 2") << Win << s(u"page.htm?a.b=c") << 2 << s(u"htm");
    QTest::newRow("win query holds a separator") << Win << s(u"C:\\a\\p.htm?u=x\\y.z") << 0 << s(u"p.htm");
    QTest::newRow("win dot only in folder, mode 2") << Win << s(u"C:\\a.b\\readme") << 2 << s(u"b\\readme");
    QTest::newRow("win dot only in folder, mode 1") << Win << s(u"C:\\a.b\\readme") << 1 << s(u"readme");
    QTest::newRow("win slashes") << Win << s(u"docs/sub/page.htm") << 0 << s(u"page.htm");
    QTest::newRow("win dot file, mode 1") << Win << s(u"C:\\w\\.htaccess") << 1 << QString();
    QTest::newRow("win dot file, mode 2") << Win << s(u"C:\\w\\.htaccess") << 2 << s(u"htaccess");
    QTest::newRow("win folder path") << Win << s(u"C:\\site\\sub\\") << 0 << QString();
    QTest::newRow("win batch, last file counts")
        << Win << QString(s(u"C:\\a\\x.jpg") + QChar() + s(u"C:\\a.d\\y.png")) << 2 << s(u"png");
    QTest::newRow("win unknown mode acts as 0") << Win << s(u"C:\\a\\x.jpg") << 7 << s(u"x.jpg");

    const QString posixExample = s(u"/site/sub/a.b.htm?x=1");
    QTest::newRow("posix name") << Posix << posixExample << 0 << s(u"a.b.htm");
    QTest::newRow("posix name without extension") << Posix << posixExample << 1 << s(u"a.b");
    QTest::newRow("posix extension") << Posix << posixExample << 2 << s(u"htm");
    QTest::newRow("posix backslash is a name character") << Posix << s(u"/d/a\\b.htm") << 0 << s(u"a\\b.htm");
    QTest::newRow("posix backslash, mode 1") << Posix << s(u"/d/a\\b.c.htm") << 1 << s(u"a\\b.c");
    QTest::newRow("posix dot only in folder") << Posix << s(u"/a.b/readme") << 2 << s(u"b/readme");
}

void TestPaths::pathPart() {
    QFETCH(PathStyle, style);
    QFETCH(QString, path);
    QFETCH(int, mode);
    QFETCH(QString, expected);
    QCOMPARE(PathPart(path, mode, style), expected);
}

void TestPaths::parentFolder_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow("win file") << Win << s(u"C:\\site\\sub\\a.htm") << s(u"C:\\site\\sub");
    QTest::newRow("win trailing separator") << Win << s(u"C:\\site\\sub\\") << s(u"C:\\site");
    QTest::newRow("win file in root") << Win << s(u"C:\\a.htm") << s(u"C:");
    QTest::newRow("win bare name") << Win << s(u"a.htm") << QString();
    QTest::newRow("win root") << Win << s(u"C:\\") << QString();
    QTest::newRow("win empty") << Win << QString() << QString();
    QTest::newRow("win slashes kept") << Win << s(u"docs/sub/page.htm") << s(u"docs/sub");
    QTest::newRow("win short slashes") << Win << s(u"a/b/c") << s(u"a/b");
    QTest::newRow("win mixed becomes slashes") << Win << s(u"a\\b/c") << s(u"a/b");
    QTest::newRow("win query not cut") << Win << s(u"C:\\a\\p.htm?x=y\\z") << s(u"C:\\a\\p.htm?x=y");

    QTest::newRow("posix file") << Posix << s(u"/site/sub/a.htm") << s(u"/site/sub");
    QTest::newRow("posix trailing separator") << Posix << s(u"/site/sub/") << s(u"/site");
    QTest::newRow("posix file in root") << Posix << s(u"/a.htm") << s(u"/");
    QTest::newRow("posix folder in root") << Posix << s(u"/site/") << s(u"/");
    QTest::newRow("posix root") << Posix << s(u"/") << QString();
    QTest::newRow("posix bare name") << Posix << s(u"a.htm") << QString();
    QTest::newRow("posix relative") << Posix << s(u"docs/sub/page.htm") << s(u"docs/sub");
    QTest::newRow("posix backslash is a name character") << Posix << s(u"a\\b/c\\d") << s(u"a\\b");
    QTest::newRow("posix backslash only") << Posix << s(u"a\\b") << QString();
}

void TestPaths::parentFolder() {
    QFETCH(PathStyle, style);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(ParentFolder(path, style), expected);
}

void TestPaths::relativePath_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");

    const QString slash = s(u"/");
    const QString backslash = s(u"\\");
    QTest::newRow("win below base") << Win << s(u"C:\\site\\sub\\a.htm") << s(u"C:\\site") << slash << s(u"sub/a.htm");
    QTest::newRow("win one up") << Win << s(u"C:\\site\\a.htm") << s(u"C:\\site\\sub") << slash << s(u"../a.htm");
    QTest::newRow("win sibling tree") << Win << s(u"C:\\other\\x\\b.htm") << s(u"C:\\site") << slash
                                      << s(u"../other/x/b.htm");
    QTest::newRow("win other drive") << Win << s(u"D:\\doc\\c.htm") << s(u"C:\\site") << slash << s(u"D:/doc/c.htm");
    QTest::newRow("win base is a file") << Win << s(u"C:\\site\\sub\\a.htm") << s(u"C:\\site\\index.htm") << backslash
                                        << s(u"sub\\a.htm");
    QTest::newRow("win folder case counts")
        << Win << s(u"C:\\site\\a.htm") << s(u"C:\\Site") << slash << s(u"../site/a.htm");
    QTest::newRow("win empty base") << Win << s(u"C:\\site\\a.htm") << QString() << slash << s(u"C:\\site\\a.htm");
    QTest::newRow("win empty base normalises")
        << Win << s(u"C:/site/a.htm") << QString() << slash << s(u"C:\\site\\a.htm");
    QTest::newRow("win base with separator")
        << Win << s(u"C:\\site\\sub\\a.htm") << s(u"C:\\site\\") << slash << s(u"sub/a.htm");
    QTest::newRow("win backslash result")
        << Win << s(u"C:\\site\\a.htm") << s(u"C:\\site\\sub") << backslash << s(u"..\\a.htm");
    QTest::newRow("win root of the path's drive")
        << Win << s(u"D:\\doc\\c.htm") << backslash << slash << s(u"doc/c.htm");
    QTest::newRow("win missing base folder")
        << Win << s(u"C:\\site\\a.htm") << s(u"C:\\gone") << slash << s(u"site/a.htm");
    QTest::newRow("win slashes in path") << Win << s(u"C:/site/sub/a.htm") << s(u"C:\\site") << slash
                                         << s(u"sub/a.htm");
    QTest::newRow("win slashes in base") << Win << s(u"C:\\site\\sub\\a.htm") << s(u"C:/site") << slash
                                         << s(u"sub/a.htm");
    QTest::newRow("win no common folder") << Win << s(u"abc\\x.htm") << s(u"abcd") << slash << s(u"abc/x.htm");

    QTest::newRow("posix below base") << Posix << s(u"/site/sub/a.htm") << s(u"/site") << slash << s(u"sub/a.htm");
    QTest::newRow("posix one up") << Posix << s(u"/site/a.htm") << s(u"/site/sub") << slash << s(u"../a.htm");
    QTest::newRow("posix sibling tree") << Posix << s(u"/other/x/b.htm") << s(u"/site") << slash
                                        << s(u"../other/x/b.htm");
    QTest::newRow("posix base is a file")
        << Posix << s(u"/site/sub/a.htm") << s(u"/site/index.htm") << slash << s(u"sub/a.htm");
    QTest::newRow("posix case counts") << Posix << s(u"/Site/a.htm") << s(u"/site") << slash << s(u"../Site/a.htm");
    QTest::newRow("posix root base") << Posix << s(u"/site/a.htm") << slash << slash << s(u"site/a.htm");
    QTest::newRow("posix relative path, absolute base")
        << Posix << s(u"docs/a.htm") << s(u"/site") << slash << s(u"docs/a.htm");
    QTest::newRow("posix backslash stays in names")
        << Posix << s(u"/site/a\\b.htm") << s(u"/site") << slash << s(u"a\\b.htm");
    QTest::newRow("posix backslash separator ignored")
        << Posix << s(u"/site/a.htm") << s(u"/site/sub") << backslash << s(u"../a.htm");
    QTest::newRow("posix empty base") << Posix << s(u"/site/a\\b.htm") << QString() << backslash
                                      << s(u"/site/a\\b.htm");
}

void TestPaths::relativePath() {
    QFETCH(PathStyle, style);
    QFETCH(QString, path);
    QFETCH(QString, base);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    const FolderTest isFolder = style == Win ? FolderTest(windowsFolder) : FolderTest(posixFolder);
    QCOMPARE(RelativePath(path, base, separator, style, isFolder), expected);
}

void TestPaths::relativePathAsksTheFileSystem() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    QFile index(dir.filePath(QStringLiteral("index.htm")));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.close();
    const auto native = [&dir](const QString& name) { return QDir::toNativeSeparators(dir.filePath(name)); };
    const QString page = native(QStringLiteral("sub/a.htm"));
    const QString slash = QStringLiteral("/");

    QCOMPARE(RelativePath(page, QDir::toNativeSeparators(dir.path()), slash), QStringLiteral("sub/a.htm"));
    QCOMPARE(RelativePath(page, native(QStringLiteral("sub")), slash), QStringLiteral("a.htm"));
    QCOMPARE(RelativePath(page, native(QStringLiteral("index.htm")), slash), QStringLiteral("sub/a.htm"));
    QCOMPARE(RelativePath(page, native(QStringLiteral("gone")), slash), QStringLiteral("sub/a.htm"));
    QCOMPARE(RelativePath(native(QStringLiteral("b.htm")), native(QStringLiteral("sub")), slash),
             QStringLiteral("../b.htm"));
}

void TestPaths::isInFolder_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("inside");

    QTest::newRow("win below") << Win << s(u"C:\\p\\a\\x.htm") << s(u"C:\\p") << true;
    QTest::newRow("win itself") << Win << s(u"C:\\p") << s(u"C:\\p") << true;
    QTest::newRow("win longer name") << Win << s(u"C:\\pq\\x.htm") << s(u"C:\\p") << false;
    QTest::newRow("win case ignored") << Win << s(u"c:\\P\\x.htm") << s(u"C:\\p") << true;
    QTest::newRow("win slashes") << Win << s(u"C:/p/x.htm") << s(u"C:\\p") << true;
    QTest::newRow("win root") << Win << s(u"C:\\x.htm") << s(u"C:\\") << true;
    QTest::newRow("win root itself") << Win << s(u"C:\\") << s(u"C:\\") << true;
    QTest::newRow("win other drive") << Win << s(u"D:\\x.htm") << s(u"C:\\") << false;
    QTest::newRow("win folder with separator") << Win << s(u"C:\\p\\x.htm") << s(u"C:\\p\\") << true;
    QTest::newRow("win folder with separator, itself") << Win << s(u"C:\\p") << s(u"C:\\p\\") << true;
    QTest::newRow("win parent is not inside") << Win << s(u"C:\\") << s(u"C:\\p") << false;
    QTest::newRow("win empty folder") << Win << s(u"C:\\p") << QString() << false;

    QTest::newRow("posix below") << Posix << s(u"/data/docs/x.htm") << s(u"/data/docs") << true;
    QTest::newRow("posix longer name") << Posix << s(u"/data/docsx/y.htm") << s(u"/data/docs") << false;
    QTest::newRow("posix case counts") << Posix << s(u"/Data/docs/x.htm") << s(u"/data/docs") << false;
    QTest::newRow("posix backslash is not a separator") << Posix << s(u"/data/docs\\x") << s(u"/data/docs") << false;
    QTest::newRow("posix root") << Posix << s(u"/x.htm") << s(u"/") << true;
    QTest::newRow("posix root itself") << Posix << s(u"/") << s(u"/") << true;
    QTest::newRow("posix relative not below root") << Posix << s(u"x.htm") << s(u"/") << false;
    QTest::newRow("posix empty folder") << Posix << s(u"x.htm") << QString() << false;
}

void TestPaths::isInFolder() {
    QFETCH(PathStyle, style);
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(bool, inside);
    QCOMPARE(folvane::isInFolder(path, folder, style), inside);
}

void TestPaths::stripLeadingFolder_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("win below") << Win << s(u"C:\\p\\a\\x.htm") << s(u"C:\\p") << s(u"\\a\\x.htm");
    QTest::newRow("win itself") << Win << s(u"C:\\p") << s(u"C:\\p") << QString();
    QTest::newRow("win longer name") << Win << s(u"C:\\pq\\x.htm") << s(u"C:\\p") << s(u"C:\\pq\\x.htm");
    QTest::newRow("win case ignored") << Win << s(u"C:\\P\\x.htm") << s(u"C:\\p") << s(u"\\x.htm");
    QTest::newRow("win only leading") << Win << s(u"D:\\C:\\p\\x.htm") << s(u"C:\\p") << s(u"D:\\C:\\p\\x.htm");
    QTest::newRow("win root") << Win << s(u"C:\\x.htm") << s(u"C:\\") << s(u"\\x.htm");
    QTest::newRow("win folder with separator") << Win << s(u"C:\\p\\a\\x.htm") << s(u"C:\\p\\") << s(u"\\a\\x.htm");
    QTest::newRow("win slash after folder") << Win << s(u"C:\\p/a.htm") << s(u"C:\\p") << s(u"/a.htm");
    QTest::newRow("win empty folder") << Win << s(u"C:\\p") << QString() << s(u"C:\\p");

    QTest::newRow("posix only the leading one")
        << Posix << s(u"/data/docs/x/data/docs/y.htm") << s(u"/data/docs") << s(u"/x/data/docs/y.htm");
    QTest::newRow("posix itself") << Posix << s(u"/data/docs") << s(u"/data/docs") << QString();
    QTest::newRow("posix longer name") << Posix << s(u"/data/docsx/y") << s(u"/data/docs") << s(u"/data/docsx/y");
    QTest::newRow("posix backslash is not a separator")
        << Posix << s(u"/data/docs\\y") << s(u"/data/docs") << s(u"/data/docs\\y");
    QTest::newRow("posix root") << Posix << s(u"/x/y.htm") << s(u"/") << s(u"/x/y.htm");
    QTest::newRow("posix root itself") << Posix << s(u"/") << s(u"/") << QString();
}

void TestPaths::stripLeadingFolder() {
    QFETCH(PathStyle, style);
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(folvane::stripLeadingFolder(path, folder, style), expected);
}

QTEST_APPLESS_MAIN(TestPaths)
#include "tst_paths.moc"
