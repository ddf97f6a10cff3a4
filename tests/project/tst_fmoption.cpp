#include "project/FmOption.h"

#include "app/FmCHM.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;
using namespace folvane::fixtures;

namespace {
using Prompt = ScriptedHost::Prompt;
using PromptKind = ScriptedHost::PromptKind;

QString readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
} // namespace

class TestFmOption : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<FmOption*>(); }
    void init();

    void defaultOutputFile_data();
    void defaultOutputFile();
    void homePageList_data();
    void homePageList();
    void titleProposesOutputFile_data();
    void titleProposesOutputFile();
    void outputFileChangeClearsStatus();
    void saveSetsStatus_data();
    void saveSetsStatus();
    void saveAndCompile();
    void outputOverAnotherFile_data();
    void outputOverAnotherFile();
    void browseForOutputFile();
    void closingForgetsSettings();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString site_;
};

void TestFmOption::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    site_ = dir_->path() + QStringLiteral("/site");
    QVERIFY(QDir().mkpath(site_));
}

void TestFmOption::defaultOutputFile_data() {
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("expected");
    QTest::newRow("posix") << false << QStringLiteral("/site") << QStringLiteral("/site/HH_KVEL.chm");
    QTest::newRow("posix, no project folder") << false << QString() << QStringLiteral("/HH_KVEL.chm");
    QTest::newRow("windows") << true << QStringLiteral("D:\\site") << QStringLiteral("D:\\site\\HH_KVEL.chm");
    QTest::newRow("windows, no project folder") << true << QString() << QStringLiteral("\\HH_KVEL.chm");
}

void TestFmOption::defaultOutputFile() {
    QFETCH(bool, windows);
    QFETCH(QString, project);
    ScriptedHost host;
    FmCHM form(host, windows ? PathStyle::Windows : PathStyle::Posix);
    form.project().setComparePath(project);
    QSignalSpy shown(&form, &FmCHM::showOptionsRequested);

    form.Cmd_Click(2);

    QVERIFY(form.loadedFmOption());
    QTEST(form.fmOption().chmFN(), "expected");
    QVERIFY(form.fmOption().Ch1());
    QCOMPARE(shown.count(), 1);

    // A chosen output file survives reopening, also in another project folder.
    form.fmOption().setChmFN(QStringLiteral("/out/mine.chm"));
    form.project().setComparePath(QStringLiteral("/elsewhere"));
    form.OpenOptions();
    QCOMPARE(form.fmOption().chmFN(), QStringLiteral("/out/mine.chm"));
    QCOMPARE(shown.count(), 2);
    QVERIFY(host.prompts().isEmpty());
}

void TestFmOption::homePageList_data() {
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("windows")
        << true << QStringLiteral("D:\\site")
        << QStringList{QStringLiteral("D:\\site\\a.htm"),    QStringLiteral("D:\\SITE\\sub\\b.htm"),
                       QStringLiteral("E:\\other\\c.htm"),   QStringLiteral("sub"),
                       QStringLiteral("D:\\site\\x\ty.htm"), QStringLiteral("D:\\site2\\d.htm")}
        << QStringList{QStringLiteral("a.htm"), QStringLiteral("sub\\b.htm"), QStringLiteral("E:\\other\\c.htm"),
                       QStringLiteral("sub"),   QStringLiteral("xy.htm"),     QStringLiteral("D:\\site2\\d.htm")};
    QTest::newRow("posix") << false << QStringLiteral("/site")
                           << QStringList{QStringLiteral("/site/a.htm"), QStringLiteral("/SITE/sub/b.htm"),
                                          QStringLiteral("/other/c.htm"), QStringLiteral("/site/x\ty.htm")}
                           << QStringList{QStringLiteral("a.htm"), QStringLiteral("/SITE/sub/b.htm"),
                                          QStringLiteral("/other/c.htm"), QStringLiteral("xy.htm")};
    // Only a whole leading folder is the project folder.
    QTest::newRow("project folder repeated inside")
        << false << QStringLiteral("/data/docs") << QStringList{QStringLiteral("/data/docs/x/data/docs/y.htm")}
        << QStringList{QStringLiteral("x/data/docs/y.htm")};
    QTest::newRow("no project folder keeps full paths")
        << false << QString() << QStringList{QStringLiteral("/a/b.htm"), QStringLiteral("/c.htm")}
        << QStringList{QStringLiteral("/a/b.htm"), QStringLiteral("/c.htm")};
    QTest::newRow("root as project folder")
        << false << QStringLiteral("/") << QStringList{QStringLiteral("/a/b.htm"), QStringLiteral("/c.htm")}
        << QStringList{QStringLiteral("a/b.htm"), QStringLiteral("c.htm")};
}

void TestFmOption::homePageList() {
    QFETCH(bool, windows);
    QFETCH(QString, project);
    QFETCH(QStringList, files);
    ScriptedHost host;
    FmCHM form(host, windows ? PathStyle::Windows : PathStyle::Posix);
    form.project().setComparePath(project);
    QList<int> markers;
    for (qsizetype i = 0; i < files.size(); ++i)
        markers.append(files[i] == QStringLiteral("sub") ? 1 : -static_cast<int>(i));
    fill(form.project(), files, markers);
    select(form.project().selectableLF(), {0});
    fill(form.fmOption().Co1(), {QStringLiteral("stale")});
    form.fmOption().setCo1Text(QStringLiteral("typed.htm"));

    form.OpenOptions();

    QTEST(texts(form.fmOption().Co1()), "expected");
    QCOMPARE(links(form.fmOption().Co1()), markers);
    QCOMPARE(form.fmOption().co1Text(), QStringLiteral("typed.htm"));
    QCOMPARE(texts(form.LF), files); // the file list itself is untouched
}

void TestFmOption::titleProposesOutputFile_data() {
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("folderPart");
    QTest::newRow("posix") << false << QStringLiteral("/site") << QStringLiteral("/site/");
    QTest::newRow("windows") << true << QStringLiteral("D:\\site") << QStringLiteral("D:\\site\\");
    QTest::newRow("no project folder") << false << QString() << QStringLiteral("/");
}

void TestFmOption::titleProposesOutputFile() {
    QFETCH(bool, windows);
    QFETCH(QString, project);
    QFETCH(QString, folderPart);
    ScriptedHost host;
    FmCHM form(host, windows ? PathStyle::Windows : PathStyle::Posix);
    form.project().setComparePath(project);
    FmOption& options = form.fmOption();
    options.setChmFN(QStringLiteral("/chosen/before.chm"));

    QString typed;
    for (const QChar c : QStringLiteral("Help")) {
        typed += c;
        options.setChmTt(typed);
        QCOMPARE(options.chmFN(), folderPart + typed + QStringLiteral(".chm"));
    }
    options.setChmTt(QString());
    QCOMPARE(options.chmFN(), folderPart + QStringLiteral(".chm"));
    // A name, never a path out of the folder.
    options.setChmTt(windows ? QStringLiteral("..\\a/b:c") : QStringLiteral("../a/b:c"));
    QCOMPARE(options.chmFN(), folderPart + (windows ? QStringLiteral("__a_b_c.chm") : QStringLiteral("__a_b:c.chm")));
}

void TestFmOption::outputFileChangeClearsStatus() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(site_);
    FmOption& options = form.fmOption();
    options.Command3_Click();
    QCOMPARE(options.Lab(), QStringLiteral("保存成功!"));
    options.setChmFN(QStringLiteral("/x.chm"));
    QCOMPARE(options.Lab(), QString());

    options.Command3_Click();
    options.setChmTt(QStringLiteral("T")); // through the output file it proposes
    QCOMPARE(options.Lab(), QString());
}

void TestFmOption::saveSetsStatus_data() {
    QTest::addColumn<QString>("project");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("folderPrompts");
    QTest::newRow("saved") << QStringLiteral("site") << true << 0 << 0;
    QTest::newRow("save failed") << QStringLiteral("missing/folder") << false << 1 << 0;
    QTest::newRow("no project folder") << QString() << false << 0 << 1;
}

void TestFmOption::saveSetsStatus() {
    QFETCH(QString, project);
    QFETCH(bool, written);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    if (!project.isEmpty())
        form.project().setComparePath(dir_->path() + u'/' + project);
    fill(form.project(), {form.ComparePath + QStringLiteral("/a.htm")}, {0});
    FmOption& options = form.fmOption();
    options.setChmTt(QStringLiteral("Help"));

    options.Command3_Click();

    // Confirmed only when both files were written.
    QCOMPARE(options.Lab(), written ? QStringLiteral("保存成功!") : QString());
    QCOMPARE(QFileInfo::exists(form.projectFilePath()), written);
    QCOMPARE(form.SavedFlag, written);
    QTEST(int(host.prompts(PromptKind::Message).size()), "messages");
    QTEST(int(host.prompts(PromptKind::Folder).size()), "folderPrompts");
    if (!host.prompts(PromptKind::Message).isEmpty())
        QCOMPARE(host.prompts(PromptKind::Message).first().icon, MsgIcon::Critical);
    if (written)
        QVERIFY(readFile(form.projectFilePath()).contains(QStringLiteral("\r\nTitle=Help\r\n")));
    QVERIFY(host.launches().isEmpty());
}

void TestFmOption::saveAndCompile() {
    ScriptedHost host;
    host.setProgramFolder(QStringLiteral("/opt/tools"));
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(site_);
    fill(form.project(), {site_ + QStringLiteral("/a.htm")}, {0});
    form.OpenOptions();

    form.fmOption().Command2_Click();

    QCOMPARE(form.fmOption().Lab(), QStringLiteral("保存成功!"));
    QVERIFY(QFileInfo::exists(site_ + QStringLiteral("/HH_KVEL.hhp")));
    QCOMPARE(host.launches().size(), 1);
    QCOMPARE(host.launches()[0].program, QStringLiteral("/opt/tools/hhc"));
    QCOMPARE(host.launches()[0].arguments,
             (QStringList{QStringLiteral("--window"), site_ + QStringLiteral("/HH_KVEL.hhp")}));

    // Without a project folder nothing is saved, so nothing is compiled.
    ScriptedHost host2;
    FmCHM empty(host2, PathStyle::Posix);
    empty.fmOption().Command2_Click();
    QCOMPARE(empty.fmOption().Lab(), QString());
    QVERIFY(host2.launches().isEmpty());
}

void TestFmOption::outputOverAnotherFile_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("launched");
    const QStringList force{QStringLiteral("--force"), QStringLiteral("HH_KVEL.hhp")};
    QTest::newRow("a page, replaced") << QStringLiteral("a.htm") << int(MsgResult::Yes) << force;
    QTest::newRow("a page, kept") << QStringLiteral("a.htm") << int(MsgResult::No) << QStringList();
    QTest::newRow("the contents file") << QStringLiteral("HH_KVEL.hhc") << int(MsgResult::Yes) << QStringList();
}

void TestFmOption::outputOverAnotherFile() {
    QFETCH(QString, output);
    QFETCH(int, answer);
    QFETCH(QStringList, launched);
    ScriptedHost host;
    host.setProgramFolder(QStringLiteral("/opt/tools"));
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(site_);
    QFile page(site_ + QStringLiteral("/") + output);
    QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<p>a page</p>") > 0);
    page.close();
    fill(form.project(), {page.fileName()}, {0});
    form.fmOption().setChmFN(page.fileName());
    form.fmOption().setCo1Text(QStringLiteral("a.htm"));
    host.answerMessage(answer);

    form.fmOption().Command2_Click();

    QCOMPARE(host.prompts(PromptKind::Message).size(), 1);
    QVERIFY(host.messageTexts().first().startsWith(page.fileName()) ||
            host.messageTexts().first().endsWith(page.fileName()));
    QCOMPARE(QFileInfo::exists(form.projectFilePath()), !launched.isEmpty());
    QCOMPARE(host.launches().size(), launched.isEmpty() ? 0 : 1);
    if (!launched.isEmpty())
        QCOMPARE(host.launches()[0].arguments,
                 QStringList({launched[0], QStringLiteral("--window"), form.projectFilePath()}));
    QCOMPARE(readFile(page.fileName()), QStringLiteral("<p>a page</p>"));
}

void TestFmOption::browseForOutputFile() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(site_);
    FmOption& options = form.fmOption();
    options.setChmFN(QStringLiteral("/out/help.chm"));
    form.project().dialogs().LastFolder.clear();

    host.answerSaveFile(QStringLiteral("/new/place.chm"));
    options.Command3_Click(); // puts "保存成功!" up, which the chosen path clears
    QCOMPARE(options.Lab(), QStringLiteral("保存成功!"));
    host.clearPrompts();
    options.Command1_Click();

    const QList<Prompt> dialogs = host.prompts(PromptKind::SaveFile);
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].defaultText, QStringLiteral("/out/help.chm")); // proposes the current output file
    QCOMPARE(dialogs[0].filter, QStringLiteral("*.chm|*.chm|*.*|*.*"));
    QCOMPARE(dialogs[0].defaultExtension, QStringLiteral("chm"));
    QCOMPARE(dialogs[0].text, QString());
    QCOMPARE(options.chmFN(), QStringLiteral("/new/place.chm"));
    QCOMPARE(options.Lab(), QString());
    QCOMPARE(form.project().dialogs().LastFile, QStringLiteral("/new/place.chm"));

    // Cancelled: the output file stays.
    options.Command1_Click();
    QCOMPARE(options.chmFN(), QStringLiteral("/new/place.chm"));
    QCOMPARE(host.prompts(PromptKind::SaveFile).size(), 2);
    QCOMPARE(host.prompts(PromptKind::SaveFile)[1].defaultText, QStringLiteral("/new/place.chm"));
}

void TestFmOption::closingForgetsSettings() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(site_);
    fill(form.project(), {site_ + QStringLiteral("/a.htm")}, {0});
    QSignalSpy loaded(&form, &FmCHM::fmOptionLoaded);
    QSignalSpy shown(&form, &FmCHM::showOptionsRequested);
    const QString projectFile = site_ + QStringLiteral("/HH_KVEL.hhp");

    form.OpenOptions();
    FmOption& options = form.fmOption();
    options.setChmTt(QStringLiteral("Guide"));
    options.setCo1Text(QStringLiteral("a.htm"));
    options.setCh1(false);
    form.project().markSaved();
    form.newf_Click(); // a new project keeps the settings
    form.project().setComparePath(site_);
    QCOMPARE(form.fmOption().chmTt(), QStringLiteral("Guide"));
    form.SaveIt();
    QString text = readFile(projectFile);
    QVERIFY(text.contains(QStringLiteral("Compiled file=\"") + site_ + QStringLiteral("/Guide.chm\"\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nTitle=Guide\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nDefault topic=a.htm\r\n")));
    QVERIFY(text.contains(QStringLiteral(",0,,,0\r\n")));

    form.unloadFmOption();
    QVERIFY(!form.loadedFmOption());
    form.SaveIt(); // reads the settings from a fresh form, which stays hidden
    QVERIFY(form.loadedFmOption());
    QCOMPARE(loaded.count(), 2);
    QCOMPARE(shown.count(), 1);
    text = readFile(projectFile);
    QVERIFY(text.contains(QStringLiteral("Compiled file=\"\"\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nTitle=\r\n")));
    QVERIFY(text.contains(QStringLiteral("\r\nDefault topic=\r\n")));
    QVERIFY(text.contains(QStringLiteral(",1,,,0\r\n")));
}

QTEST_GUILESS_MAIN(TestFmOption)
#include "tst_fmoption.moc"
