#include "base/CodePage.h"
#include "chm/CompileError.h"
#include "chm/compile/CompileListener.h"
#include "chm/compile/Compiler.h"
#include "chm/platform/Utf8Path.h"
#include "chm/search/PageIndexer.h"
#include "support/ChmReaders.h"
#include "tools/GeneratedSite.h"
#include "tools/ProgramProject.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace folvane;

namespace {

struct Recorder : chm::CompileListener {
    QStringList notices;
    QStringList warnings;
    void notice(const std::string& text) override { notices.append(QString::fromStdString(text)); }
    void warning(const std::string& text) override { warnings.append(QString::fromStdString(text)); }
    void progress(std::uint64_t, std::uint64_t) override {}
};

QByteArray gbk(const QString& text) {
    return QByteArray::fromStdString(
        CodePage::fromUtf8(text.toStdString(), 936, CodePage::Unmappable::NumericReference));
}

} // namespace

// Compiles sites written like the program writes them and reads the help files back with
// chmlib, libmspack and 7-Zip.
class TestCompiledFile : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readersAgree();
    void rebuildLeavesOutItsOwnOutput();
    void failedCompileKeepsPreviousFile();
    void indexRunsThatCannotBeWritten();
    void homePageWithLeadingSeparator();
    void oddProjects_data();
    void oddProjects();
    void contentEndsAnywhereInAFrame_data();
    void contentEndsAnywhereInAFrame();

private:
    QString path(const QString& relative) const { return tmp_->path() + u'/' + relative; }
    QString write(const QString& relative, const QByteArray& bytes) const { return site_->file(relative, bytes); }
    // A project over files saved by the program's writers; contents as ProgramProject takes them.
    void writeProject(const QStringList& files, const QString& home, const QString& title,
                      const QList<std::pair<QString, int>>& contents = {}) const;
    chm::CompileResult compile(Recorder& recorder) const;
    QString output() const { return path(QStringLiteral("测试 帮助.chm")); }

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<GeneratedSite> site_;
    QMap<QString, QByteArray> pages_; // relative path -> bytes
};

void TestCompiledFile::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
    site_ = std::make_unique<GeneratedSite>(tmp_->path());
    pages_.clear();
}

void TestCompiledFile::writeProject(const QStringList& files, const QString& home, const QString& title,
                                    const QList<std::pair<QString, int>>& contents) const {
    ProgramProject project;
    project.output = output();
    project.home = home;
    project.title = title;
    project.files = files;
    project.contents = contents;
    write(QStringLiteral("HH_KVEL.hhp"), project.text().toUtf8());
    write(QStringLiteral("HH_KVEL.hhc"), project.contentsText(tmp_->path()).toUtf8());
}

chm::CompileResult TestCompiledFile::compile(Recorder& recorder) const {
    chm::Compiler compiler(recorder);
    return compiler.compile(chm::pathFromUtf8(path(QStringLiteral("HH_KVEL.hhp")).toStdString()));
}

void TestCompiledFile::readersAgree() {
    QRandomGenerator random(7);
    const auto text = [&random](int size) {
        static const QByteArray words[] = {"<p>",   "</p>\n", "帮助 ", "the ",    "help ",
                                           "文件 ", "<b>",    "</b>",  "compile "};
        QByteArray out;
        while (out.size() < size)
            out += words[random.bounded(9)];
        return out;
    };
    const auto noise = [&random](int size) {
        QByteArray out(size, '\0');
        for (char& c : out)
            c = static_cast<char>(random.bounded(256));
        return out;
    };
    pages_[QStringLiteral("index.htm")] = "<html><head><title>Home</title></head>" + text(3000) + "</html>";
    pages_[QStringLiteral("第一章.htm")] = text(40000);
    pages_[QStringLiteral("sub dir/a b.htm")] = text(500);
    pages_[QStringLiteral("sharp#1.htm")] = text(700);
    pages_[QStringLiteral("100%.htm")] = text(900);
    pages_[QStringLiteral("quote\".htm")] = text(1100);
    pages_[QStringLiteral("a&b.htm")] = text(1300);
    pages_[QStringLiteral("UPPER.HTM")] = text(1500);
    pages_[QStringLiteral("empty.htm")] = QByteArray();
    pages_[QStringLiteral("pic.PNG")] = noise(70000);
    pages_[QStringLiteral("big.bin")] = noise(200000) + QByteArray(150000, 'x') + text(100000);
    // Long names fill many listing chunks, and their index more than one level.
    const QString longFolder = QStringLiteral("很长的文件夹名称").repeated(10);
    for (int i = 0; i < 120; ++i)
        pages_[longFolder + QStringLiteral("/第%1页").arg(i) + QStringLiteral("很长的页面名称").repeated(11) +
               QStringLiteral(".htm")] = text(200 + i);

    QStringList files;
    const QStringList names = pages_.keys();
    QList<std::pair<QString, int>> contents{
        {QStringLiteral("帮助, \"测试\""), int(names.indexOf(QStringLiteral("第一章.htm")))},
        {QStringLiteral("escaped"), int(names.indexOf(QStringLiteral("sub dir/a b.htm")))}};
    for (auto it = pages_.cbegin(); it != pages_.cend(); ++it) {
        files.append(write(it.key(), it.value()));
        contents.append({QStringLiteral(" 页 ") + it.key(), int(files.size() - 1)});
    }
    writeProject(files, QStringLiteral("第一章.htm"), QStringLiteral("帮助, \"测试\""), contents);
    // A link edited by hand, already escaped: kept as it is.
    QFile hhc(path(QStringLiteral("HH_KVEL.hhc")));
    QVERIFY(hhc.open(QIODevice::ReadWrite));
    QByteArray edited = hhc.readAll();
    const QByteArray plain = "value=\"sub dir/a b.htm\"";
    edited.replace(edited.indexOf(plain), plain.size(), "value=\"sub%20dir/a%20b.htm#top\"");
    QVERIFY(hhc.seek(0) && hhc.write(edited) == edited.size());
    hhc.close();

    Recorder recorder;
    const chm::CompileResult result = compile(recorder);
    QVERIFY2(recorder.warnings.isEmpty(), qPrintable(recorder.warnings.join(u'\n')));
    QCOMPARE(result.files, static_cast<std::uint64_t>(pages_.size()));
    QCOMPARE(result.lcid, 0x804u);

    QFile help(output());
    QVERIFY(help.open(QIODevice::ReadOnly));
    const QByteArray head = help.read(0x100);
    QCOMPARE(head.mid(0x14, 4), QByteArray("\x04\x08\x00\x00", 4));
    // The directory: several listing chunks, and index chunks in more than one level.
    const auto word = [&head](int at) { return qFromLittleEndian<quint32>(head.constData() + at); };
    QCOMPARE(word(0x48), 0x78u);
    QVERIFY(word(0x78 + 0x24) > 1);
    QVERIFY(word(0x78 + 0x18) > 2);

#ifdef FOLVANE_HAVE_CHMLIB
    const auto inside = test::readWithChmlib(output());
    QVERIFY(inside.has_value());
    for (auto it = pages_.cbegin(); it != pages_.cend(); ++it)
        QVERIFY2(inside->value('/' + it.key().toUtf8()) == it.value(), qPrintable(it.key()));
    QVERIFY(inside->contains("/HH_KVEL.hhc"));
    const QMap<int, QByteArray> system = test::systemRecords(inside->value("/#SYSTEM"));
    // Language, double-byte, full-text search; the search index closes the stream.
    QCOMPARE(system.value(4).left(12), QByteArray("\x04\x08\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00", 12));
    QVERIFY(inside->value("/$FIftiMain").size() > 0x400);
    QCOMPARE(system.value(3), gbk(QStringLiteral("帮助, \"测试\"")) + '\0');
    QCOMPARE(system.value(2), gbk(QStringLiteral("第一章.htm")) + '\0');
    QCOMPARE(system.value(0), QByteArray("HH_KVEL.hhc") + '\0');
    QCOMPARE(system.value(6), gbk(QStringLiteral("测试 帮助")) + '\0');
    // The stored contents: the code page of the language, quotes inside values escaped.
    const QByteArray storedContents = inside->value("/HH_KVEL.hhc");
    QVERIFY(storedContents.contains(gbk(QStringLiteral("value=\"帮助, &quot;测试&quot;\""))));
    QVERIFY(storedContents.contains(gbk(QStringLiteral("value=\"quote&quot;.htm\""))));
    // Names viewers would read as a fragment, an escape or an entity reach their files.
    for (const char* local : {"\"sharp%231.htm\"", "\"100%25.htm\"", "\"a%26b.htm\"", "\"sub%20dir/a%20b.htm#top\""})
        QVERIFY2(storedContents.contains(local), local);
    QVERIFY(inside->value("/#URLSTR").contains("a%26b.htm"));
#else
    QSKIP("chmlib is not installed (libchm-dev).");
#endif
#ifdef FOLVANE_HAVE_MSPACK
    for (auto it = pages_.cbegin(); it != pages_.cend(); ++it)
        QVERIFY2(test::readWithMspack(output(), '/' + it.key().toUtf8()) == it.value(), qPrintable(it.key()));
#endif
    const QString extracted = path(QStringLiteral("7z"));
    if (test::sevenZip().isEmpty())
        QSKIP("7-Zip is not installed (p7zip-full).");
    QVERIFY(test::extractWithSevenZip(output(), extracted));
    for (auto it = pages_.cbegin(); it != pages_.cend(); ++it) {
        QFile file(extracted + u'/' + it.key());
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(it.key()));
        QVERIFY2(file.readAll() == it.value(), qPrintable(it.key()));
    }
}

void TestCompiledFile::rebuildLeavesOutItsOwnOutput() {
    const QString page = write(QStringLiteral("index.htm"), "<p>page</p>");
    // The program lists every file of the folder: after the first compile, the help file
    // and the project itself too.
    writeProject({page, output(), path(QStringLiteral("HH_KVEL.hhp"))}, QStringLiteral("index.htm"),
                 QStringLiteral("T"), {{QStringLiteral("T"), 0}});
    Recorder first;
    compile(first);
    Recorder second;
    const chm::CompileResult result = compile(second);
    QCOMPARE(result.files, 1u);
    QVERIFY(second.notices.join(u'\n').contains(output()));
#ifdef FOLVANE_HAVE_CHMLIB
    const auto inside = test::readWithChmlib(output());
    QVERIFY(inside.has_value());
    QVERIFY(inside->contains("/index.htm"));
    for (const QByteArray& name : inside->keys())
        QVERIFY2(!name.endsWith(".chm") && !name.endsWith(".hhp"), name.constData());
#endif
}

void TestCompiledFile::failedCompileKeepsPreviousFile() {
    const QString page = write(QStringLiteral("index.htm"), "<p>page</p>");
    writeProject({page}, QStringLiteral("index.htm"), QStringLiteral("T"));
    Recorder first;
    compile(first);
    QFile previous(output());
    QVERIFY(previous.open(QIODevice::ReadOnly));
    const QByteArray before = previous.readAll();
    previous.close();

    // A file that says it is empty and then is not: it changes under the compile.
    if (!QFileInfo(QStringLiteral("/proc/self/status")).isFile())
        QSKIP("No /proc here.");
    writeProject({page, QStringLiteral("/proc/self/status")}, QStringLiteral("index.htm"), QStringLiteral("T"));
    Recorder second;
    QVERIFY_THROWS_EXCEPTION(chm::CompileError, compile(second));
    QVERIFY(previous.open(QIODevice::ReadOnly));
    QCOMPARE(previous.readAll(), before);
    // Nothing else is left behind.
    QDirIterator it(tmp_->path(), QDir::Files | QDir::Hidden);
    while (it.hasNext())
        QVERIFY2(!it.next().contains(QStringLiteral(".folvane-")), qPrintable(it.filePath()));
}

void TestCompiledFile::indexRunsThatCannotBeWritten() {
    // Words past the memory of a few kilobytes go to a folder that is not there; the pages
    // are many enough that the words are merged on a worker thread, which cannot report.
    chm::PageIndexer indexer(2, 1252, {4096, 1252, "/nonexistent/folvane"});
    try {
        for (int page = 0; page < 300; ++page) {
            std::string text = "<p>";
            for (int word = 0; word < 7200; ++word) {
                text += 'w';
                text += std::to_string(page * 7200 + word);
                text += ' ';
            }
            indexer.add(std::move(text));
        }
        indexer.finish();
        QFAIL("the index went nowhere without a word");
    } catch (const chm::CompileError& e) {
        QVERIFY2(QString::fromUtf8(e.what()).contains(QStringLiteral("无法创建临时文件")), e.what());
    }
}

void TestCompiledFile::homePageWithLeadingSeparator() {
    const QString page = write(QStringLiteral("sub/首页.htm"), "<p>home</p>");
    // Double-clicking an entry on Linux gives the page's place with its leading separator.
    writeProject({page}, QStringLiteral("/sub/首页.htm"), QStringLiteral("T"));
    Recorder recorder;
    compile(recorder);
    QCOMPARE(recorder.warnings, QStringList());
#ifdef FOLVANE_HAVE_CHMLIB
    const auto inside = test::readWithChmlib(output());
    QVERIFY(inside.has_value());
    QCOMPARE(test::systemRecords(inside->value("/#SYSTEM")).value(2), gbk(QStringLiteral("sub/首页.htm")) + '\0');
    QVERIFY(inside->value("/#STRINGS").contains(QByteArray(gbk(QStringLiteral("sub/首页.htm")) + '\0')));
#endif
}

void TestCompiledFile::oddProjects_data() {
    QTest::addColumn<QByteArray>("project");
    QTest::addColumn<QByteArray>("contents");
    QByteArray deep;
    for (int i = 0; i < 1000; ++i)
        deep += QByteArray(i, '\t') +
                "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"n\"></OBJECT>\r\n" +
                QByteArray(i, '\t') + "<UL>\r\n";
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("binary") << QByteArray("\0\xff[FILES]\0\r\n\xfe", 12) << QByteArray("\0<OBJECT\xff", 9);
    QTest::newRow("deep contents") << QByteArray("[OPTIONS]\r\nContents file=HH_KVEL.hhc\r\n") << deep;
    QTest::newRow("unclosed tags") << QByteArray("[OPTIONS]\nContents file=HH_KVEL.hhc\n")
                                   << QByteArray("<OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"x");
}

void TestCompiledFile::oddProjects() {
    QFETCH(QByteArray, project);
    QFETCH(QByteArray, contents);
    write(QStringLiteral("HH_KVEL.hhp"), project);
    write(QStringLiteral("HH_KVEL.hhc"), contents);
    Recorder recorder;
    const chm::CompileResult result = compile(recorder);
    QVERIFY(QFileInfo(QString::fromStdString(result.outputFile)).size() > 0);
#ifdef FOLVANE_HAVE_CHMLIB
    QVERIFY(test::readWithChmlib(QString::fromStdString(result.outputFile)).has_value());
#endif
}

void TestCompiledFile::contentEndsAnywhereInAFrame_data() {
    QTest::addColumn<int>("remainder");
    QTest::newRow("on a frame's end") << 0;
    QTest::newRow("one byte into a frame") << 1;
    QTest::newRow("one byte short of a frame's end") << 32767;
}

// Readers differ in how they count frames at the end of the content: every ending must read.
void TestCompiledFile::contentEndsAnywhereInAFrame() {
#ifndef FOLVANE_HAVE_CHMLIB
    QSKIP("chmlib is not installed (libchm-dev).");
#else
    QFETCH(int, remainder);
    const auto contentLength = [this] {
        const auto inside = test::readWithChmlib(output());
        return inside
                   ? qFromLittleEndian<quint64>(inside->value("::DataSpace/Storage/MSCompressed/SpanInfo").constData())
                   : 0;
    };
    const QString filler = write(QStringLiteral("fill.htm"), QByteArray(100000, 'f'));
    writeProject({filler}, QStringLiteral("fill.htm"), QStringLiteral("T"));
    Recorder recorder;
    compile(recorder);
    const quint64 first = contentLength();
    QVERIFY(first > 100000);
    const int grow = static_cast<int>((remainder + 0x8000 - first % 0x8000) % 0x8000);
    const QByteArray page = QByteArray(100000 + grow, 'f');
    write(QStringLiteral("fill.htm"), page);
    compile(recorder);
    QCOMPARE(contentLength() % 0x8000, static_cast<quint64>(remainder));

    QCOMPARE(test::readWithChmlib(output())->value("/fill.htm"), page);
#ifdef FOLVANE_HAVE_MSPACK
    QCOMPARE(test::readWithMspack(output(), "/fill.htm"), std::optional<QByteArray>(page));
#endif
    const QString extracted = path(QStringLiteral("7z"));
    if (test::sevenZip().isEmpty())
        QSKIP("7-Zip is not installed (p7zip-full).");
    QVERIFY(test::extractWithSevenZip(output(), extracted));
    QFile file(extracted + QStringLiteral("/fill.htm"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), page);
#endif
}

QTEST_GUILESS_MAIN(TestCompiledFile)
#include "tst_compiledfile.moc"
