#include "chm/compile/ProjectPaths.h"

#include <QTest>

using namespace folvane::chm;

Q_DECLARE_METATYPE(PathRules)

// Where files of a project land in the help file, under both systems' rules.
class TestProjectPaths : public QObject {
    Q_OBJECT
private slots:
    void storedName_data();
    void storedName();
    void nameFromRoot_data();
    void nameFromRoot();
};

void TestProjectPaths::storedName_data() {
    QTest::addColumn<PathRules>("rules");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("name");
    const PathRules posix = PathRules::Posix;
    const PathRules windows = PathRules::Windows;
    QTest::newRow("relative") << posix << "/site"
                              << "sub/a.htm"
                              << "/site/sub/a.htm"
                              << "/sub/a.htm";
    QTest::newRow("absolute inside") << posix << "/site/"
                                     << "/site/第一章.htm"
                                     << "/site/第一章.htm"
                                     << "/第一章.htm";
    QTest::newRow("dots tidied") << posix << "/site"
                                 << "./sub/../a.htm"
                                 << "/site/a.htm"
                                 << "/a.htm";
    QTest::newRow("outside: reached from the root") << posix << "/home/u/site"
                                                    << "/home/u/other/x.htm"
                                                    << "/home/u/other/x.htm"
                                                    << "/other/x.htm";
    QTest::newRow("projects separate with backslashes everywhere") << posix << "/site"
                                                                   << "a\\b.htm"
                                                                   << "/site/a/b.htm"
                                                                   << "/a/b.htm";
    QTest::newRow("case counts on Posix") << posix << "/Site"
                                          << "/site/a.htm"
                                          << "/site/a.htm"
                                          << "/site/a.htm";
    QTest::newRow("Windows separators") << windows << "C:\\site"
                                        << "sub\\a.htm"
                                        << "C:/site/sub/a.htm"
                                        << "/sub/a.htm";
    QTest::newRow("Windows case") << windows << "C:\\Site"
                                  << "c:\\site\\A.htm"
                                  << "c:/site/A.htm"
                                  << "/A.htm";
    QTest::newRow("Windows drive root") << windows << "D:\\site"
                                        << "\\other\\x.htm"
                                        << "D:/other/x.htm"
                                        << "/other/x.htm";
    QTest::newRow("Windows other drive") << windows << "C:\\site"
                                         << "E:\\x\\y.htm"
                                         << "E:/x/y.htm"
                                         << "/x/y.htm";
    QTest::newRow("Windows share") << windows << "\\\\srv\\share\\site"
                                   << "a.htm"
                                   << "//srv/share/site/a.htm"
                                   << "/a.htm";
}

void TestProjectPaths::storedName() {
    QFETCH(PathRules, rules);
    QFETCH(QString, folder);
    QFETCH(QString, written);
    const ProjectPaths paths(folder.toStdString(), rules);
    const std::string full = paths.resolve(written.toStdString());
    QTEST(QString::fromStdString(full), "full");
    QTEST(QString::fromStdString(paths.storedName(full)), "name");
}

void TestProjectPaths::nameFromRoot_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "sub/a.htm"
                           << "/sub/a.htm";
    QTest::newRow("leading slash") << "/a.htm"
                                   << "/a.htm";
    QTest::newRow("above the root") << "../../x/a.htm"
                                    << "/x/a.htm";
    QTest::newRow("dots") << "./a/./b/../c.htm"
                          << "/a/c.htm";
}

void TestProjectPaths::nameFromRoot() {
    QFETCH(QString, link);
    QTEST(QString::fromStdString(folvane::chm::nameFromRoot(link.toStdString())), "name");
}

QTEST_GUILESS_MAIN(TestProjectPaths)
#include "tst_projectpaths.moc"
