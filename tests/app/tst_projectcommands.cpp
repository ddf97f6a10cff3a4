#include "app/FmCHM.h"
#include "files/FileSelection.h"
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

const QString kFolderPrompt = QStringLiteral("请选择要编译为CHM的文件夹:");

void touch(const QString& path) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

// The paths of a list below root, relative and sorted: scans follow the file system's order.
QStringList relativeSorted(const QStringList& paths, const QString& root) {
    QStringList out;
    for (const QString& p : paths)
        out.append(p.startsWith(root + u'/') ? p.mid(root.size() + 1) : p);
    return sorted(out);
}

// A form with an unsaved TOC of three entries in the project folder `folder`.
void unsavedProject(FmCHM& form, const QString& folder) {
    form.project().setComparePath(folder);
    form.project().restore(entriesOf({folder + QStringLiteral("/a.htm"), folder + QStringLiteral("/b.htm"),
                                      folder + QStringLiteral("/c.htm")},
                                     {0, 0, 0}),
                           entriesOf({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}),
                           {QStringLiteral("x")});
    form.project().markSaved();
    form.LB().setSelected(1, true);
    form.Com_Click(2);
    QVERIFY(!form.SavedFlag);
}
} // namespace

class TestProjectCommands : public QObject {
    Q_OBJECT
private slots:
    void init();

    void formLoadCancelled();
    void formLoadWithFolder();
    void addFolderSetsAndWidensProjectFolder();
    void addFolderIntoFullList();
    void commandsDuringScan();
    void projectFolderRule_data();
    void projectFolderRule();

    void addFiles_data();
    void addFiles();
    void addFilesCancelled();

    void askToSave_data();
    void askToSave();
    void newProjectWithoutQuestion_data();
    void newProjectWithoutQuestion();
    void newProjectTakesTheNewFolder();

    void compilePosix();
    void compileWithoutProjectFile();
    void compileWindowsCommandLine_data();
    void compileWindowsCommandLine();
    void otherIndexesDoNothing();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString root_;
};

void TestProjectCommands::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    root_ = dir_->path();
    for (const char* name : {"site/index.htm", "site/b.html", "site/pic.jpg", "site/README", "site/.hidden.htm",
                             "site/sub/c.htm", "site/sub/d.txt", "site/sub/deep/e.htm", "other/o.htm"})
        touch(root_ + u'/' + QString::fromLatin1(name));
}

void TestProjectCommands::formLoadCancelled() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    QSignalSpy shown(&form, &FmCHM::showRequested);

    form.Form_Load();

    QCOMPARE(shown.count(), 1);
    const QList<Prompt> folders = host.prompts(PromptKind::Folder);
    QCOMPARE(folders.size(), 1);
    QCOMPARE(folders[0].text, kFolderPrompt);
    QVERIFY(!folders[0].includeFiles);
    QCOMPARE(host.prompts().size(), 1);
    QCOMPARE(form.LF.count(), 0);
    QCOMPARE(form.L(0).count(), 0);
    QCOMPARE(form.L(1).count(), 0);
    QCOMPARE(form.ComparePath, QString());
    QCOMPARE(form.lbIndex(), 1);
    QVERIFY(form.SavedFlag);
    QCOMPARE(form.AskToSave(), 0);
}

void TestProjectCommands::formLoadWithFolder() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    host.answerFolder(root_ + QStringLiteral("/site/sub"));

    form.Form_Load();

    QCOMPARE(form.ComparePath, root_ + QStringLiteral("/site/sub"));
    QCOMPARE(relativeSorted(texts(form.LF), form.ComparePath),
             (QStringList{QStringLiteral("c.htm"), QStringLiteral("d.txt"), QStringLiteral("deep/e.htm")}));
    QCOMPARE(selectedRows(form.LF), QList<int>{0});
    QCOMPARE(form.LB().count(), 0);
    QVERIFY(form.SavedFlag);
    QVERIFY(!host.busy());

    // The next start's folder chooser begins in that project's folder.
    FmCHM next(host, PathStyle::Posix);
    next.Form_Load();
    QCOMPARE(host.prompts(PromptKind::Folder).constLast().defaultText, root_ + QStringLiteral("/site/sub"));
}

void TestProjectCommands::addFolderSetsAndWidensProjectFolder() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    const QString site = root_ + QStringLiteral("/site");
    const QString sub = site + QStringLiteral("/sub");

    host.answerFolder(sub);
    form.Cmd_Click(1);
    QCOMPARE(form.ComparePath, sub);
    QCOMPARE(form.LF.count(), 3);

    // A folder that holds the project folder widens it, and all its files come in.
    host.answerFolder(site);
    form.Cmd_Click(1);
    QCOMPARE(form.ComparePath, site);
    QCOMPARE(relativeSorted(texts(form.LF), site),
             (QStringList{QStringLiteral(".hidden.htm"), QStringLiteral("README"), QStringLiteral("b.html"),
                          QStringLiteral("index.htm"), QStringLiteral("pic.jpg"), QStringLiteral("sub/c.htm"),
                          QStringLiteral("sub/d.txt"), QStringLiteral("sub/deep/e.htm")}));

    // A sub-folder, the folder itself (also with a trailing separator) and a sibling keep it.
    for (const QString& chosen : QStringList{sub, site, site + u'/', root_ + QStringLiteral("/other")}) {
        host.answerFolder(chosen);
        form.Cmd_Click(1);
        QCOMPARE(form.ComparePath, site);
    }
    // The sibling's file came first; nothing was listed twice.
    QCOMPARE(form.LF.text(0), root_ + QStringLiteral("/other/o.htm"));
    QCOMPARE(form.LF.count(), 9);
    QVERIFY(!host.busy());
    QCOMPARE(host.prompts(PromptKind::Message).size(), 0);
}

void TestProjectCommands::addFolderIntoFullList() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    QStringList full;
    for (int i = 0; i < kListCapacity; ++i)
        full.append(QStringLiteral("/x/f%1.htm").arg(i));
    fill(form.project(), full, QList<int>(full.size(), 0));
    form.project().setComparePath(QStringLiteral("/x"));

    host.answerFolder(root_ + QStringLiteral("/other"));
    form.Cmd_Click(1);

    QCOMPARE(form.LF.count(), kListCapacity);
    QCOMPARE(form.LF.text(0), full.first());
    const QList<Prompt> messages = host.prompts(PromptKind::Message);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].icon, MsgIcon::Critical);
    QVERIFY(!host.busy());
}

// The scan lets events run; a new project or a deletion handled meanwhile must not break it.
void TestProjectCommands::commandsDuringScan() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(root_ + QStringLiteral("/other"));
    fill(form.project(), {root_ + QStringLiteral("/other/o.htm"), QStringLiteral("/old/y.htm")}, {0, 0});
    int rounds = 0;
    host.onDoEvents = [&] {
        if (rounds++ > 0)
            return;
        form.project().selectableLF().selectAll();
        int key = 46;
        form.LF_KeyDown(key, 0);
        QCOMPARE(form.LF.count(), 0);
        host.answerMessage(MsgResult::No);
        form.newf_Click(); // its folder browser is cancelled
    };
    host.answerFolder(root_ + QStringLiteral("/site/sub"));
    form.Cmd_Click(1);

    QVERIFY(rounds >= 1);
    QCOMPARE(form.ComparePath, root_ + QStringLiteral("/site/sub"));
    QCOMPARE(relativeSorted(texts(form.LF), form.ComparePath),
             (QStringList{QStringLiteral("c.htm"), QStringLiteral("d.txt"), QStringLiteral("deep/e.htm")}));
    QVERIFY(!host.busy());
}

void TestProjectCommands::projectFolderRule_data() {
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("widens");
    QTest::newRow("containing folder, other case")
        << true << QStringLiteral("C:\\a\\b") << QStringLiteral("C:\\A") << true;
    QTest::newRow("d:\\WEB over D:\\web\\sub")
        << true << QStringLiteral("D:\\web\\sub") << QStringLiteral("d:\\WEB") << true;
    QTest::newRow("drive root") << true << QStringLiteral("C:\\a") << QStringLiteral("C:") << true;
    QTest::newRow("sub-folder") << true << QStringLiteral("C:\\a\\b") << QStringLiteral("C:\\a\\b\\c") << false;
    QTest::newRow("other drive") << true << QStringLiteral("C:\\a\\b") << QStringLiteral("D:\\x") << false;
    QTest::newRow("same folder") << true << QStringLiteral("C:\\a\\b") << QStringLiteral("C:\\a\\b") << false;
    QTest::newRow("name prefix only") << true << QStringLiteral("C:\\ab\\c") << QStringLiteral("C:\\a") << false;
    QTest::newRow("posix containing") << false << QStringLiteral("/web/sub") << QStringLiteral("/web") << true;
    QTest::newRow("posix case counts") << false << QStringLiteral("/web/sub") << QStringLiteral("/WEB") << false;
    QTest::newRow("posix root") << false << QStringLiteral("/data") << QStringLiteral("/") << true;
    // The chosen folder must lead the project folder, not merely occur in it.
    QTest::newRow("posix inner occurrence")
        << false << QStringLiteral("/backup/site/sub") << QStringLiteral("/site") << false;
}

void TestProjectCommands::projectFolderRule() {
    QFETCH(bool, windows);
    QFETCH(QString, project);
    QFETCH(QString, chosen);
    QTEST(isWithinChosenFolder(project, chosen, windows ? PathStyle::Windows : PathStyle::Posix), "widens");
}

void TestProjectCommands::addFiles_data() {
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("patternAsked");
    QTest::addColumn<QString>("expectedDefault");
    QTest::addColumn<QStringList>("expectedNew");

    const QStringList one{QStringLiteral("index.htm")};
    QTest::newRow("no") << one << int(MsgResult::No) << QString() << false << QString() << one;
    QTest::newRow("cancel") << one << int(MsgResult::Cancel) << QString() << false << QString() << one;
    QTest::newRow("unanswered means No") << one << 0 << QString() << false << QString() << one;
    QTest::newRow("yes, empty pattern") << one << int(MsgResult::Yes) << QString() << true << QStringLiteral("*.htm")
                                        << one;
    QTest::newRow("yes, htm widened") << one << int(MsgResult::Yes) << QStringLiteral("htm") << true
                                      << QStringLiteral("*.htm")
                                      << QStringList{QStringLiteral(".hidden.htm"), QStringLiteral("b.html"),
                                                     QStringLiteral("index.htm"), QStringLiteral("sub/c.htm"),
                                                     QStringLiteral("sub/deep/e.htm")};
    QTest::newRow("yes, two elements") << QStringList{QStringLiteral("index.htm"), QStringLiteral("pic.jpg")}
                                       << int(MsgResult::Yes) << QStringLiteral("*.jpg;txt") << true
                                       << QStringLiteral("*.jpg")
                                       << QStringList{QStringLiteral("pic.jpg"), QStringLiteral("sub/d.txt")};
    QTest::newRow("yes, nothing found") << one << int(MsgResult::Yes) << QStringLiteral("*.zip") << true
                                        << QStringLiteral("*.htm") << QStringList();
    QTest::newRow("yes, file without extension")
        << QStringList{QStringLiteral("README")} << int(MsgResult::Yes) << QString() << true << QStringLiteral("*.")
        << QStringList{QStringLiteral("README")};
}

void TestProjectCommands::addFiles() {
    QFETCH(QStringList, chosen);
    QFETCH(int, answer);
    QFETCH(QString, pattern);
    QFETCH(QStringList, expectedNew);
    const QString site = root_ + QStringLiteral("/site");
    ScriptedHost host;
    host.setScreenSizeTwips(QSize(19201, 10801));
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(site);
    const QString old = QStringLiteral("/old/x.htm");
    fill(form.project(), {old}, {0});

    QStringList chosenPaths;
    for (const QString& name : chosen)
        chosenPaths.append(site + u'/' + name);
    host.answerOpenFiles(chosenPaths);
    if (answer != 0)
        host.answerMessage(answer);
    if (answer == MsgResult::Yes)
        host.answerInput(pattern);

    form.Cmd_Click(0);

    const QList<Prompt> dialogs = host.prompts(PromptKind::OpenFiles);
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs[0].text, QStringLiteral("选择文件(可多选)"));
    QCOMPARE(dialogs[0].defaultText, site); // opens in the project folder
    QCOMPARE(dialogs[0].filter, QStringLiteral("所有文件|*.*"));

    const QList<Prompt> messages = host.prompts(PromptKind::Message);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, QStringLiteral("要选择 ") + site + QStringLiteral("/ 及其子文件夹下所有同类文件吗？"));
    QCOMPARE(messages[0].buttons, MsgButtons::YesNoCancel);
    QCOMPARE(messages[0].icon, MsgIcon::Question);
    QCOMPARE(messages[0].defaultButton, 1);
    QCOMPARE(messages[0].title, QString());

    const QList<Prompt> inputs = host.prompts(PromptKind::Input);
    QFETCH(bool, patternAsked);
    QCOMPARE(inputs.size(), patternAsked ? 1 : 0);
    if (patternAsked) {
        QCOMPARE(inputs[0].text, QStringLiteral("请输入匹配字符串，如*.jpg、jpg或pic???.jpg，多个以\";\"间隔。"));
        QTEST(inputs[0].defaultText, "expectedDefault");
        QCOMPARE(inputs[0].title, QString());
        QCOMPARE(inputs[0].positionTwips, std::optional<QPoint>(QPoint(9600 - 3000, 5400 - 300)));
        QVERIFY(host.doEventsCount() >= 1);
    }

    const QStringList list = texts(form.LF);
    QCOMPARE(list.size(), expectedNew.size() + 1);
    QCOMPARE(list.last(), old); // new paths first, the old entry after them
    QCOMPARE(relativeSorted(list.first(expectedNew.size()), site), sorted(expectedNew));
    QCOMPARE(form.ComparePath, site);
    QVERIFY(!host.busy());
}

void TestProjectCommands::addFilesCancelled() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(root_);
    fill(form.project(), {QStringLiteral("/old/x.htm")}, {0});
    form.Cmd_Click(0);
    QCOMPARE(texts(form.LF), QStringList{QStringLiteral("/old/x.htm")});
    QCOMPARE(host.prompts().size(), 1); // the dialog only
    QVERIFY(!host.busy());
}

void TestProjectCommands::askToSave_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(MsgResult::Yes);
    QTest::newRow("no") << int(MsgResult::No);
    QTest::newRow("cancel") << int(MsgResult::Cancel);
}

void TestProjectCommands::askToSave() {
    QFETCH(int, answer);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    const QString site = root_ + QStringLiteral("/site");
    unsavedProject(form, site);
    const QStringList files = texts(form.LF);
    const QStringList toc = texts(form.LB());
    host.answerMessage(answer);

    form.newf_Click();

    const QList<Prompt> messages = host.prompts(PromptKind::Message);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, QStringLiteral("你的文档还没保存,要保存吗？"));
    QCOMPARE(messages[0].title, QStringLiteral("保存文档吗?"));
    QCOMPARE(messages[0].buttons, MsgButtons::YesNoCancel);
    QCOMPARE(messages[0].icon, MsgIcon::None);

    const bool saved = QFileInfo::exists(site + QStringLiteral("/HH_KVEL.hhp"));
    QCOMPARE(saved, answer == MsgResult::Yes);
    QCOMPARE(QFileInfo::exists(site + QStringLiteral("/HH_KVEL.hhc")), saved);
    // A new project starts saved, as at start-up; Cancel leaves the old one unsaved.
    QCOMPARE(form.SavedFlag, answer != MsgResult::Cancel);

    if (answer == MsgResult::Cancel) {
        QCOMPARE(form.ComparePath, site);
        QCOMPARE(texts(form.LF), files);
        QCOMPARE(texts(form.LB()), toc);
        QCOMPARE(form.FolderSet.size(), 1);
        QCOMPARE(host.prompts(PromptKind::Folder).size(), 0);
        return;
    }
    QCOMPARE(form.ComparePath, QString());
    QCOMPARE(form.LF.count(), 0);
    QCOMPARE(form.L(0).count(), 0);
    QCOMPARE(form.L(1).count(), 0);
    QVERIFY(form.FolderSet.isEmpty());
    QCOMPARE(form.SavedCount, 0);
    const QList<Prompt> folders = host.prompts(PromptKind::Folder);
    QCOMPARE(folders.size(), 1);
    QCOMPARE(folders[0].text, kFolderPrompt);
}

void TestProjectCommands::newProjectWithoutQuestion_data() {
    QTest::addColumn<bool>("hasProject");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("expectedAnswer");
    QTest::newRow("no project folder") << false << false << int(MsgResult::No);
    QTest::newRow("saved") << true << true << 0;
}

void TestProjectCommands::newProjectWithoutQuestion() {
    QFETCH(bool, hasProject);
    QFETCH(bool, saved);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    unsavedProject(form, root_ + QStringLiteral("/site"));
    if (!hasProject)
        form.project().setComparePath({});
    if (saved)
        form.project().markSaved();
    QTEST(form.AskToSave(), "expectedAnswer");
    QCOMPARE(host.prompts().size(), 0);

    form.newf_Click();

    QCOMPARE(host.prompts(PromptKind::Message).size(), 0);
    QCOMPARE(host.prompts(PromptKind::Folder).size(), 1);
    QCOMPARE(form.LF.count(), 0);
    QCOMPARE(form.LB().count(), 0);
    QVERIFY(form.FolderSet.isEmpty());
    QVERIFY(!QFileInfo::exists(root_ + QStringLiteral("/site/HH_KVEL.hhp")));
}

void TestProjectCommands::newProjectTakesTheNewFolder() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    unsavedProject(form, root_ + QStringLiteral("/site"));
    host.answerMessage(MsgResult::No);
    host.answerFolder(root_ + QStringLiteral("/other"));
    form.newf_Click();
    // Not a widening: the old project folder is gone before the folder is chosen.
    QCOMPARE(form.ComparePath, root_ + QStringLiteral("/other"));
    QCOMPARE(texts(form.LF), QStringList{root_ + QStringLiteral("/other/o.htm")});
}

void TestProjectCommands::compilePosix() {
    ScriptedHost host;
    host.setProgramFolder(QStringLiteral("/opt/tools"));
    FmCHM form(host, PathStyle::Posix);
    const QString site = root_ + QStringLiteral("/site");
    form.project().setComparePath(site);
    fill(form.project(), {site + QStringLiteral("/index.htm")}, {0});

    form.Cmd_Click(3);
    QVERIFY(host.launches().isEmpty()); // not saved yet: it says what to do
    QCOMPARE(host.prompts(PromptKind::Message).size(), 1);
    QVERIFY(host.messageTexts().constFirst().startsWith(QStringLiteral("项目还没有保存")));

    form.Save_Click();
    QVERIFY(QFileInfo::exists(site + QStringLiteral("/HH_KVEL.hhp")));
    // No home page: 否 goes back to the settings instead.
    QSignalSpy settings(&form, &FmCHM::showOptionsRequested);
    host.answerMessage(MsgResult::No);
    form.Cmd_Click(3);
    QVERIFY(host.launches().isEmpty());
    QCOMPARE(settings.count(), 1);
    host.clearPrompts();
    host.setProgramWindowFrame(QRect(-20, 30, 800, 600));
    form.Cmd_Click(3);
    form.open_Click();
    QCOMPARE(host.launches().size(), 2);
    for (const ScriptedHost::Launch& launch : host.launches()) {
        QCOMPARE(launch.program, QStringLiteral("/opt/tools/hhc"));
        QCOMPARE(launch.arguments,
                 (QStringList{QStringLiteral("--window=-20,30,800,600"), site + QStringLiteral("/HH_KVEL.hhp")}));
        QCOMPARE(launch.commandLine, QString());
    }
    // Asked again, and 是 goes on; then no more.
    QCOMPARE(host.messageTexts(),
             QStringList{QStringLiteral("没有设置CHM首页，帮助文件打开时将是一个空白页。\r\n仍要编译吗？")});
    host.clearPrompts();

    // A compiler that does not start is passed over in silence.
    host.setStartSucceeds(false);
    form.Cmd_Click(3);
    QCOMPARE(host.launches().size(), 3);
    QCOMPARE(host.prompts().size(), 0);
}

void TestProjectCommands::compileWithoutProjectFile() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    // Only the project file counts: the contents file alone starts nothing.
    form.project().setComparePath(root_ + QStringLiteral("/site"));
    touch(form.ComparePath + QStringLiteral("/HH_KVEL.hhc"));
    form.Cmd_Click(3);
    form.project().setComparePath(root_ + QStringLiteral("/missing"));
    form.Cmd_Click(3);
    form.project().setComparePath({});
    form.Cmd_Click(3);
    QVERIFY(host.launches().isEmpty());
    // Each time it says what to do: save first, or choose a folder first.
    const QStringList said = host.messageTexts();
    QCOMPARE(said.size(), 3);
    QVERIFY(said[0].startsWith(QStringLiteral("项目还没有保存")) &&
            said[1].startsWith(QStringLiteral("项目还没有保存")));
    QCOMPARE(said[2], QStringLiteral("还没有项目：请先用“添文件夹”选择要编译为CHM的文件夹。"));
}

// Windows-style paths exist on Linux when "\" is taken as a character of the file name,
// so the existence test and the command line run as they would on Windows.
void TestProjectCommands::compileWindowsCommandLine_data() {
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("compiler");
    QTest::newRow("program folder") << QStringLiteral("C:\\Tools\\Help") << QStringLiteral("C:\\Tools\\Help\\hhc.exe");
    QTest::newRow("drive root") << QStringLiteral("C:\\") << QStringLiteral("C:\\hhc.exe");
}

void TestProjectCommands::compileWindowsCommandLine() {
    QFETCH(QString, programFolder);
    QFETCH(QString, compiler);
    ScriptedHost host;
    host.setProgramFolder(programFolder);
    FmCHM form(host, PathStyle::Windows);
    form.project().setComparePath(root_ + QStringLiteral("/site"));
    const QString project = form.ComparePath + QStringLiteral("\\HH_KVEL.hhp");
    QCOMPARE(form.projectFilePath(), project);
    form.Cmd_Click(3);
    QVERIFY(host.launches().isEmpty());

    touch(project);
    form.Cmd_Click(3);

    QCOMPARE(host.launches().size(), 1);
    const ScriptedHost::Launch launch = host.launches().first();
    QCOMPARE(launch.program, compiler);
    QCOMPARE(launch.arguments, QStringList{project});
    QCOMPARE(launch.commandLine, u'"' + compiler + QStringLiteral("\" \"") + project + u'"');
}

void TestProjectCommands::otherIndexesDoNothing() {
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    form.project().setComparePath(root_ + QStringLiteral("/site"));
    touch(form.ComparePath + QStringLiteral("/HH_KVEL.hhp"));
    QSignalSpy options(&form, &FmCHM::showOptionsRequested);
    for (int index : {-1, 4, 99})
        form.Cmd_Click(index);
    QCOMPARE(host.prompts().size(), 0);
    QVERIFY(host.launches().isEmpty());
    QCOMPARE(options.count(), 0);
    form.Cmd_Click(2);
    QCOMPARE(options.count(), 1);
}

QTEST_GUILESS_MAIN(TestProjectCommands)
#include "tst_projectcommands.moc"
