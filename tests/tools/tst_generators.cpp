#include "base/CodePage.h"
#include "support/ChmReaders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;

namespace {

struct Run {
    int status = -1;
    QString out;
};

Run run(const QString& program, const QStringList& arguments, const QString& folder,
        const QStringList& environment = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit)
        result.status = process.exitCode();
    result.out = QString::fromUtf8(process.readAll());
    return result;
}

bool write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A picture for the pages: a PNG of one pixel.
QByteArray picture() {
    return QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==");
}

// What a help file made from a generator's output must hold.
struct Expected {
    QString folder;   // the generator's output, with the project
    QString project;  // file name
    QString helpFile; // file name
    unsigned codePage = 0;
    QString title;
    QString home;
    QString contents;   // the contents file's name
    QStringList names;  // in the contents and index files
    QStringList linked; // files the project does not list
    QStringList words;  // each found on two pages or more
    QString stopWord;   // found on none
};

} // namespace

// The help output of the generators people run in CI, compiled by hhc and read back by
// independent readers: doxygen on a few C headers, Sphinx on a few pages in English and in
// Chinese. The build machine's locale must not change a byte.
class TestGenerators : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void sphinx_data();
    void sphinx();
    void doxygen();

private:
    void compileAndRead(const Expected& expected);
    QStringList listedFiles(const Expected& expected) const;
    QByteArray encoded(const QString& text, unsigned codePage) const {
        return QByteArray::fromStdString(
            CodePage::fromUtf8(text.toStdString(), codePage, CodePage::Unmappable::NumericReference));
    }

    QTemporaryDir tmp_;
    QString hhc_;
    QStringList chineseLocale_; // the environment that gives zh_CN.UTF-8
};

void TestGenerators::initTestCase() {
#ifdef Q_OS_WIN
    QSKIP("The generators run on Linux here.");
#endif
    QVERIFY(tmp_.isValid());
    hhc_ = QStringLiteral(FOLVANE_BIN_DIR "/hhc");
    // A clean machine has no Chinese locale: one is made for the run from the package locales.
    chineseLocale_ = {QStringLiteral("LC_ALL=zh_CN.UTF-8")};
    if (!run(QStringLiteral("locale"), {QStringLiteral("-a")}, tmp_.path())
             .out.contains(QStringLiteral("zh_CN.utf8"))) {
        const QString locales = tmp_.filePath(QStringLiteral("locale"));
        QDir().mkpath(locales);
        const Run made = run(QStringLiteral("localedef"),
                             {QStringLiteral("-i"), QStringLiteral("zh_CN"), QStringLiteral("-f"),
                              QStringLiteral("UTF-8"), locales + QStringLiteral("/zh_CN.UTF-8")},
                             tmp_.path());
        QVERIFY2(made.status == 0, qPrintable(QStringLiteral("localedef (package locales): ") + made.out));
        chineseLocale_.append(QStringLiteral("LOCPATH=") + locales);
    }
}

QStringList TestGenerators::listedFiles(const Expected& expected) const {
    const std::string text =
        CodePage::toUtf8(readFile(expected.folder + u'/' + expected.project).toStdString(), expected.codePage);
    QStringList files;
    bool inFiles = false;
    for (QString line : QString::fromStdString(text).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'['))
            inFiles = line.compare(QStringLiteral("[FILES]"), Qt::CaseInsensitive) == 0;
        else if (inFiles && !line.isEmpty())
            files.append(line.replace(u'\\', u'/'));
    }
    return files;
}

void TestGenerators::compileAndRead(const Expected& e) {
    const QStringList fixedTime{QStringLiteral("SOURCE_DATE_EPOCH=1700000000")};
    const QString helpFile = e.folder + u'/' + e.helpFile;
    const Run english = run(hhc_, {e.project}, e.folder, fixedTime + QStringList{QStringLiteral("LC_ALL=C.UTF-8")});
    QVERIFY2(english.status == 0 && english.out.contains(QStringLiteral("编译完成：")), qPrintable(english.out));
    const QByteArray bytes = readFile(helpFile);
    QVERIFY(QFile::remove(helpFile));
    const Run chinese = run(hhc_, {e.project}, e.folder, fixedTime + chineseLocale_);
    QVERIFY2(chinese.status == 0, qPrintable(chinese.out));
    QVERIFY2(readFile(helpFile) == bytes, "the locale changed the help file");

    const QStringList files = listedFiles(e) + e.linked;
    QVERIFY(files.size() > e.linked.size());
#ifdef FOLVANE_HAVE_CHMLIB
    const auto inside = test::readWithChmlib(helpFile);
    QVERIFY(inside.has_value());
    for (const QString& file : files)
        QVERIFY2(inside->value('/' + file.toUtf8()) == readFile(e.folder + u'/' + file), qPrintable(file));
    const QMap<int, QByteArray> system = test::systemRecords(inside->value("/#SYSTEM"));
    QCOMPARE(system.value(3), encoded(e.title, e.codePage) + '\0');
    QCOMPARE(system.value(2), e.home.toUtf8() + '\0');
    const QByteArray sitemaps = inside->value('/' + e.contents.toUtf8()) +
                                inside->value('/' + QFileInfo(e.contents).completeBaseName().toUtf8() + ".hhk");
    for (const QString& name : e.names)
        QVERIFY2(sitemaps.contains(QByteArray("value=\"" + encoded(name, e.codePage) + '"')), qPrintable(name));
#else
    QSKIP("chmlib is not installed (libchm-dev).");
#endif
#ifdef FOLVANE_HAVE_MSPACK
    for (const QString& file : e.linked)
        QCOMPARE(test::readWithMspack(helpFile, '/' + file.toUtf8()), std::optional(readFile(e.folder + u'/' + file)));
#endif
    const QString extracted = tmp_.filePath(QFileInfo(e.folder).fileName() + QStringLiteral("-7z"));
    QVERIFY(test::extractWithSevenZip(helpFile, extracted));
    for (const QString& file : files)
        QVERIFY2(readFile(extracted + u'/' + file) == readFile(e.folder + u'/' + file), qPrintable(file));

    const QString codec = QStringLiteral("cp%1").arg(e.codePage);
    const Run search =
        run(QStringLiteral("/usr/bin/python3"),
            QStringList{QStringLiteral(FOLVANE_SOURCE_DIR "/tests/support/chm_search.py"), helpFile, codec} + e.words +
                QStringList{e.stopWord},
            e.folder);
    if (search.status == 77)
        QSKIP("pychm is not installed (python3-chm).");
    const QStringList found = search.out.split(u'\n');
    QVERIFY2(search.status == 0 && found.size() > e.words.size(), qPrintable(search.out));
    for (int i = 0; i < e.words.size(); ++i)
        QVERIFY2(found[i].split(u' ', Qt::SkipEmptyParts).size() >= 2, qPrintable(e.words[i] + u':' + found[i]));
    QVERIFY2(found[e.words.size()].isEmpty(), qPrintable(e.stopWord + u':' + found[e.words.size()]));
}

void TestGenerators::sphinx_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("pages"); // title, text, title, text, title, text
    QTest::addColumn<QString>("word");
    QTest::newRow("English") << QStringLiteral("en")
                             << QStringList{QStringLiteral("Test Manual"), QStringLiteral("The zymurgy of help."),
                                            QStringLiteral("Chapter One"), QStringLiteral("The zymurgy of pages."),
                                            QStringLiteral("Chapter Two"), QStringLiteral("The zymurgy of links.")}
                             << QStringLiteral("zymurgy");
    QTest::newRow("Chinese") << QStringLiteral("zh_CN")
                             << QStringList{QStringLiteral("测试手册"),    QStringLiteral("编译器写帮助文件。"),
                                            QStringLiteral("第一章 编译"), QStringLiteral("编译器读页面。"),
                                            QStringLiteral("第二章 阅读"), QStringLiteral("编译器也写索引。")}
                             << QStringLiteral("编");
}

void TestGenerators::sphinx() {
    QFETCH(QString, language);
    QFETCH(QStringList, pages);
    QFETCH(QString, word);
    const QString sphinxBuild = QStandardPaths::findExecutable(QStringLiteral("sphinx-build"));
    if (sphinxBuild.isEmpty())
        QSKIP("Sphinx is not installed (python3-sphinx python3-sphinxcontrib.htmlhelp).");
    const QString source = tmp_.filePath(QStringLiteral("sphinx-") + language);
    const auto heading = [](const QString& title) -> QString {
        return title + u'\n' + QString(title.size() * 2, u'=') + u'\n';
    };
    QVERIFY(
        write(source + QStringLiteral("/conf.py"),
              QStringLiteral("project = 'Folvane'\nlanguage = '%1'\nhtml_title = '%2'\nhtmlhelp_basename = 'manual'\n"
                             "extensions = ['sphinxcontrib.htmlhelp']\n")
                  .arg(language, pages[0])
                  .toUtf8()));
    QVERIFY(write(
        source + QStringLiteral("/index.rst"),
        (heading(pages[0]) + u'\n' + pages[1] + QStringLiteral("\n\n.. toctree::\n\n   one\n   two\n")).toUtf8()));
    QVERIFY(write(source + QStringLiteral("/one.rst"),
                  (heading(pages[2]) + QStringLiteral("\n.. index:: ") + pages[2] + u'\n' + u'\n' + pages[3] +
                   QStringLiteral(" :ref:`two`\n\n.. image:: pictures/pic.png\n"))
                      .toUtf8()));
    QVERIFY(write(source + QStringLiteral("/two.rst"),
                  (QStringLiteral(".. _two:\n\n") + heading(pages[4]) + QStringLiteral("\n.. index:: ") + pages[4] +
                   QStringLiteral("\n\n") + pages[5] + u'\n')
                      .toUtf8()));
    QVERIFY(write(source + QStringLiteral("/pictures/pic.png"), picture()));
    const QString output = source + QStringLiteral("/out");
    const Run built =
        run(sphinxBuild, {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("htmlhelp"), source, output},
            source, {QStringLiteral("LC_ALL=C.UTF-8")});
    QVERIFY2(built.status == 0, qPrintable(built.out));

    Expected e;
    e.folder = output;
    e.project = QStringLiteral("manual.hhp");
    e.helpFile = QStringLiteral("manual.chm");
    e.codePage = language == QStringLiteral("en") ? 1252 : 936;
    e.title = pages[0];
    e.home = QStringLiteral("index.html");
    e.contents = QStringLiteral("manual.hhc");
    e.names = {pages[0], pages[2], pages[4]};
    // Sphinx lists neither the pictures nor the scripts; the pages name them.
    e.linked = {QStringLiteral("_images/pic.png")};
    for (const QString& script : QDir(output + QStringLiteral("/_static")).entryList({QStringLiteral("*.js")}))
        if (readFile(output + QStringLiteral("/one.html")).contains(QByteArray("_static/" + script.toUtf8())))
            e.linked.append(QStringLiteral("_static/") + script);
    e.words = {word};
    e.stopWord = QStringLiteral("the");
    compileAndRead(e);
}

void TestGenerators::doxygen() {
    const QString doxygen = QStandardPaths::findExecutable(QStringLiteral("doxygen"));
    if (doxygen.isEmpty())
        QSKIP("doxygen is not installed.");
    const QString source = tmp_.filePath(QStringLiteral("doxygen"));
    QVERIFY(write(source + QStringLiteral("/src/shapes.h"),
                  "/** @file shapes.h\n *  @brief 几何图形：点与距离。 */\n"
                  "/** 平面上的一个点。 */\nstruct Point {\n    int x; /**< 横坐标 */\n    int y; /**< 纵坐标 */\n};\n"
                  "/** 两点之间的距离，取整。 */\nint distance(struct Point a, struct Point b);\n"));
    QVERIFY(write(source + QStringLiteral("/src/canvas.h"),
                  "/** @file canvas.h\n *  @brief 画布：在点上画图。 */\n#include \"shapes.h\"\n"
                  "/** 一块画布。 */\nstruct Canvas {\n    int width;  /**< 画布的宽度 */\n    int height; /**< "
                  "画布的高度 */\n};\n"
                  "/** 在画布上画一个点。 */\nvoid canvas_plot(struct Canvas *canvas, struct Point p);\n"));
    QVERIFY(write(source + QStringLiteral("/Doxyfile"),
                  "PROJECT_NAME = \"Folvane 测试\"\nOUTPUT_DIRECTORY = out\nINPUT = src\nOUTPUT_LANGUAGE = Chinese\n"
                  "GENERATE_HTMLHELP = YES\nCHM_FILE = shapes.chm\nCHM_INDEX_ENCODING = GB2312\nGENERATE_LATEX = NO\n"
                  "HAVE_DOT = NO\nSEARCHENGINE = NO\nHTML_DYNAMIC_MENUS = NO\nQUIET = YES\nWARNINGS = NO\n"));
    const Run built = run(doxygen, {QStringLiteral("Doxyfile")}, source, {QStringLiteral("LC_ALL=C.UTF-8")});
    QVERIFY2(built.status == 0, qPrintable(built.out));

    Expected e;
    e.folder = source + QStringLiteral("/out/html");
    e.project = QStringLiteral("index.hhp");
    e.helpFile = QStringLiteral("shapes.chm");
    e.codePage = 936;
    e.title = QStringLiteral("Folvane 测试");
    e.home = QStringLiteral("index.html");
    e.contents = QStringLiteral("index.hhc");
    e.names = {QStringLiteral("类列表"), QStringLiteral("文件列表"), QStringLiteral("Canvas")};
    e.words = {QStringLiteral("画"), QStringLiteral("point")};
    e.stopWord = QStringLiteral("zymurgy"); // doxygen's projects have no stop list: a word no page holds
    compileAndRead(e);
}

QTEST_GUILESS_MAIN(TestGenerators)
#include "tst_generators.moc"
