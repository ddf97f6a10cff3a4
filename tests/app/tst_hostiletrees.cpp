#include "app/FmCHM.h"
#include "navbuilder/FmContent.h"
#include "navbuilder/NavSettings.h"
#include "support/ChildProcess.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <sys/stat.h>

using namespace folvane;
using namespace folvane::fixtures;
using folvane::test::ChildSetup;
using folvane::test::runInChild;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), qPrintable(path));
}

QByteArray page(const QByteArray& title) {
    return "<html><head><title>" + title + "</title></head><body>text</body></html>";
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The road a user takes: choose the folder, build the contents with titles between
// <title> markers and the folder hierarchy, save.
void addBuildAndSave(FmCHM& form, ScriptedHost& host, const QString& folder) {
    host.answerFolder(folder);
    form.Cmd_Click(1);
    form.fmContent().setO(NavSettings::BetweenMarkers);
    form.fmContent().setCheck1(true);
    form.fmContent().CmdOK_Click();
    form.SaveIt();
}

QStringList relativeTexts(const ListBox& list, const QString& root) {
    QStringList out;
    for (const ListEntry& e : list.entries())
        out.append(e.text.startsWith(root + u'/') ? e.text.mid(root.size() + 1) : e.text);
    out.sort();
    return out;
}

} // namespace

// Trees no web site should have, built fresh for each test: every command finishes with
// its usual result or message.
class TestHostileTrees : public QObject {
    Q_OBJECT
private slots:
    void init();
    void wholeRoadOverHostileNames();
    void linkLoopsAndDeepChain();
    void unreadableSubFolder();
    void folderRemovedWhileScanned();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString root_;
};

void TestHostileTrees::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    // Open to every user: some tests run their command as an unprivileged one.
    QVERIFY(chmod(QFile::encodeName(dir_->path()).constData(), 0777) == 0);
    root_ = dir_->path() + QStringLiteral("/site");
    QVERIFY(QDir().mkpath(root_));
    QVERIFY(chmod(QFile::encodeName(root_).constData(), 0777) == 0);
}

void TestHostileTrees::wholeRoadOverHostileNames() {
    const QStringList kept = {QStringLiteral("star*.htm"), QStringLiteral("back\\slash.htm"),
                              QStringLiteral("quote\"d.htm"), QStringLiteral("apos'.htm"),
                              QStringLiteral("中文页面.htm")};
    const QStringList skipped = {QStringLiteral("cr\rname.htm"), QStringLiteral("lf\nname.htm"),
                                 QStringLiteral("tab\tname.htm"), QStringLiteral("what?.htm")};
    // Legal names that a link could take for something else: a place, an escape, a reference.
    const QStringList linked = {QStringLiteral("file#28.htm"), QStringLiteral("100%.htm"),
                                QStringLiteral("a%20b.htm"),   QStringLiteral("a&b;c.htm"),
                                QStringLiteral("x&amp;y.htm"), QStringLiteral("with space.htm")};
    for (const QString& name : kept + skipped + linked)
        writeFile(root_ + u'/' + name, page(name.toUtf8()));
    writeFile(root_ + QStringLiteral("/empty.htm"), QByteArray());
    writeFile(root_ + QStringLiteral("/big.htm"), page("Big") + QByteArray(500001 - page("Big").size(), 'x'));
    QByteArray noise(8192, '\0');
    QRandomGenerator random(7);
    for (char& c : noise)
        c = static_cast<char>(random.bounded(256));
    noise[100] = '\0';
    writeFile(root_ + QStringLiteral("/noise.htm"), page("noise") + noise);

    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    addBuildAndSave(form, host, root_);

    QStringList expected = kept + linked;
    expected << QStringLiteral("empty.htm") << QStringLiteral("big.htm") << QStringLiteral("noise.htm");
    expected.sort();
    QCOMPARE(relativeTexts(form.LF, root_), expected);
    // The names left out, each with its reason, then the page too big to read for its title,
    // which falls back to its name.
    QCOMPARE(host.messageTexts().size(), 2);
    for (const char* shown : {"cr\\x0dname.htm", "lf\\x0aname.htm", "tab\\x09name.htm", "what?.htm"})
        QVERIFY2(host.messageTexts()[0].contains(root_ + u'/' + QString::fromUtf8(shown) + QStringLiteral("（")),
                 shown);
    QCOMPARE(host.messageTexts()[1], QStringLiteral("文件太大或不存在！\r\n") + root_ + QStringLiteral("/big.htm"));
    const QStringList titles = texts(form.LB());
    for (const QString& name : kept)
        QVERIFY2(titles.contains(name), qPrintable(name));
    for (const char* name : {"empty.htm", "big.htm", "noise.htm"})
        QVERIFY2(titles.contains(QString::fromUtf8(name)), name);

    const QString contents = QString::fromUtf8(readFile(form.contentsFilePath()));
    const QString project = QString::fromUtf8(readFile(form.projectFilePath()));
    QVERIFY(contents.endsWith(QStringLiteral("</BODY></HTML>")));
    for (const QString& name : expected)
        QVERIFY2(project.contains(root_ + u'/' + name + QStringLiteral("\r\n")), qPrintable(name));
    QVERIFY(form.SavedFlag);

    // Opened again, every entry finds its own page, and saving writes the same bytes.
    ScriptedHost again;
    FmCHM reopened(again, PathStyle::Posix);
    QVERIFY(reopened.OpenProject(form.projectFilePath()));
    QCOMPARE(again.messageTexts(), QStringList());
    const auto linksOf = [](const ListBox& toc, const ListBox& files) {
        QStringList out;
        for (const ListEntry& e : toc.entries())
            out.append(e.text + QStringLiteral(" > ") +
                       (files.isValidIndex(e.itemData) ? files.text(e.itemData) : QString()));
        return out;
    };
    QCOMPARE(linksOf(reopened.LB(), reopened.LF), linksOf(form.LB(), form.LF));
    QVERIFY(reopened.SaveIt());
    QCOMPARE(QString::fromUtf8(readFile(form.contentsFilePath())), contents);
    QCOMPARE(QString::fromUtf8(readFile(form.projectFilePath())), project);
}

void TestHostileTrees::linkLoopsAndDeepChain() {
    writeFile(root_ + QStringLiteral("/a/page.htm"), page("A"));
    QVERIFY(QFile::link(QStringLiteral(".."), root_ + QStringLiteral("/a/up")));
    QVERIFY(QFile::link(QStringLiteral("."), root_ + QStringLiteral("/a/self")));
    QVERIFY(QFile::link(root_ + QStringLiteral("/nowhere"), root_ + QStringLiteral("/broken.htm")));
    QString deep = root_ + QStringLiteral("/deep");
    for (int level = 0; level < 1000; ++level)
        deep += QStringLiteral("/d");
    writeFile(deep + QStringLiteral("/bottom.htm"), page("Bottom"));

    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    addBuildAndSave(form, host, root_);

    // Each page once, through whichever path reached its folder first; the broken link named.
    QCOMPARE(form.LF.count() - form.FolderSet.size(), 2);
    QVERIFY(texts(form.LF).contains(deep + QStringLiteral("/bottom.htm")));
    QVERIFY(texts(form.LB()).contains(QString(1001, u' ') + QStringLiteral("Bottom")));
    QCOMPARE(host.messageTexts(), QStringList{QStringLiteral("以下文件或文件夹无法加入列表，已略去：\r\n") + root_ +
                                              QStringLiteral("/broken.htm（链接指向的文件不存在）")});
    const QString contents = QString::fromUtf8(readFile(form.contentsFilePath()));
    QCOMPARE(contents.count(QStringLiteral("<UL>")), contents.count(QStringLiteral("</UL>")));
    QVERIFY(contents.contains(QStringLiteral("deep/") + QStringLiteral("d/").repeated(1000) +
                              QStringLiteral("bottom.htm")));
}

void TestHostileTrees::unreadableSubFolder() {
    writeFile(root_ + QStringLiteral("/open/a.htm"), page("A"));
    writeFile(root_ + QStringLiteral("/closed/b.htm"), page("B"));
    writeFile(root_ + QStringLiteral("/top.htm"), page("Top"));
    QVERIFY(chmod(QFile::encodeName(root_ + QStringLiteral("/closed")).constData(), 0) == 0);

    const auto answer = runInChild(ChildSetup::Unprivileged, [&] {
        ScriptedHost host;
        FmCHM form(host, PathStyle::Posix);
        addBuildAndSave(form, host, root_);
        return host.messageTexts() + QStringList{QStringLiteral("--")} + relativeTexts(form.LF, root_);
    });
    chmod(QFile::encodeName(root_ + QStringLiteral("/closed")).constData(), 0755);
    if (!answer)
        QSKIP("this machine cannot drop root's permissions");
    // The folder that cannot be opened is left out and named with the system's reason.
    QCOMPARE(answer->mid(1), (QStringList{QStringLiteral("--"), QStringLiteral("open"), QStringLiteral("open/a.htm"),
                                          QStringLiteral("top.htm")}));
    QCOMPARE(answer->value(0), QStringLiteral("以下文件或文件夹无法加入列表，已略去：\r\n") + root_ +
                                   QStringLiteral("/closed/（文件夹无法读取：") + qt_error_string(EACCES) +
                                   QStringLiteral("）"));
    QVERIFY(QFile::exists(root_ + QStringLiteral("/HH_KVEL.hhc")));
}

void TestHostileTrees::folderRemovedWhileScanned() {
    for (const char* name : {"a/1.htm", "b/2.htm", "b/c/3.htm", "4.htm"})
        writeFile(root_ + u'/' + QString::fromUtf8(name), page(name));

    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    bool removed = false;
    host.onDoEvents = [&] {
        if (!removed)
            removed = QDir(root_ + QStringLiteral("/b")).removeRecursively();
    };
    addBuildAndSave(form, host, root_);

    QVERIFY(removed);
    const QStringList files = relativeTexts(form.LF, root_);
    QVERIFY(files.contains(QStringLiteral("a/1.htm")));
    QVERIFY(files.contains(QStringLiteral("4.htm")));
    QVERIFY(!files.contains(QStringLiteral("b/c/3.htm")));
    QVERIFY(host.messageTexts().isEmpty());
    QVERIFY(form.SavedFlag);
}

QTEST_GUILESS_MAIN(TestHostileTrees)
#include "tst_hostiletrees.moc"
