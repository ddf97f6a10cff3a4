#include "app/FmCHM.h"
#include "project/FmOption.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"
#include "toc/ListBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace folvane;
using folvane::fixtures::links;
using folvane::fixtures::texts;

namespace {
constexpr int kDelete = 46;
constexpr int kRightButton = 2;

struct Window {
    QTemporaryDir dir;
    ScriptedHost host;
    FmCHM main{host, PathStyle::Posix};

    // Loads with the folder dialog cancelled, then opens the temporary folder as the project.
    Window() {
        main.Form_Load();
        main.project().setComparePath(dir.path());
    }
    // n files, each linked from one TOC entry.
    void fill(int n) {
        QList<ListEntry> files = main.LF.entries();
        QList<ListEntry> toc = main.LB().entries();
        for (int i = 0; i < n; ++i) {
            files.append({dir.filePath(QStringLiteral("p%1.htm").arg(i)), 0, false});
            toc.append({QStringLiteral("Page %1").arg(i), i, false});
        }
        main.project().restore(files, toc);
    }
    // n pages on disk, saved as a project: what a reopened project must show again.
    void fillSaved(int n) {
        for (int i = 0; i < n; ++i) {
            QFile page(dir.filePath(QStringLiteral("p%1.htm").arg(i)));
            QVERIFY(page.open(QIODevice::WriteOnly));
        }
        fill(n);
        QVERIFY(main.SaveIt());
    }
    void selectOnly(int i) {
        ListBox& toc = main.LB();
        for (int k = 0; k < toc.count(); ++k)
            toc.setSelected(k, k == i);
        toc.setListIndex(i);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QByteArray read(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList files() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
};

// The save prompt is the window's only view of its saved state: saved means no question.
void expectSaved(Window& w) {
    w.host.clearPrompts();
    QCOMPARE(w.main.AskToSave(), 0);
    QVERIFY(w.host.prompts().isEmpty());
}

void expectUnsaved(Window& w) {
    w.host.clearPrompts();
    w.host.answerMessage(MsgResult::Cancel);
    QCOMPARE(w.main.AskToSave(), MsgResult::Cancel);
    QCOMPARE(w.host.prompts().size(), 1);
    const ScriptedHost::Prompt& p = w.host.prompts().first();
    QCOMPARE(p.text, QStringLiteral("你的文档还没保存,要保存吗？"));
    QCOMPARE(p.title, QStringLiteral("保存文档吗?"));
    QCOMPARE(p.buttons, MsgButtons::YesNoCancel);
    QCOMPARE(p.icon, MsgIcon::None);
}

// Exactly one message, with the critical icon and an OK button, naming what failed.
void expectOneCriticalMessage(const ScriptedHost& host, const QString& mentioning = {}) {
    const QList<ScriptedHost::Prompt> prompts = host.prompts();
    QCOMPARE(prompts.size(), 1);
    QCOMPARE(prompts.first().kind, ScriptedHost::PromptKind::Message);
    QCOMPARE(prompts.first().icon, MsgIcon::Critical);
    QCOMPARE(prompts.first().buttons, MsgButtons::OkOnly);
    QVERIFY(!prompts.first().text.isEmpty());
    QVERIFY2(prompts.first().text.contains(mentioning), qPrintable(prompts.first().text));
}
} // namespace

class TestSaveState : public QObject {
    Q_OBJECT
private slots:
    void savedStateAcrossSaves();
    void answeringYesSaves();
    void tocLinkPastTheEnd_data();
    void tocLinkPastTheEnd();
    void failedSaveKeepsPreviousContentsFile();
    void projectFolderThroughRegularFile();
    void contentsFileCannotBeReplaced();
    void noProjectFolderRunsAddFolder();
    void everyEditAsksBeforeClosing();
    void cancelChangesNothing();
};

void TestSaveState::savedStateAcrossSaves() {
    Window w;
    QCOMPARE(w.host.prompts(ScriptedHost::PromptKind::Folder).size(), 1);
    expectSaved(w);

    w.fill(10);
    expectUnsaved(w);
    w.main.SaveIt();
    expectSaved(w);

    w.selectOnly(3);
    w.main.Com_Click(2);
    QCOMPARE(w.main.LB().text(2), QStringLiteral("Page 3"));
    expectUnsaved(w);
    w.main.SaveIt();
    expectSaved(w);

    w.main.setCheck1(true);
    w.main.setCheck1(false);
    QCOMPARE(w.main.LB().count(), 10);
    expectSaved(w);

    w.selectOnly(0);
    int key = kDelete;
    w.main.L_KeyDown(1, key, 0);
    QCOMPARE(w.main.LB().count(), 9);
    expectUnsaved(w);
}

void TestSaveState::answeringYesSaves() {
    Window w;
    w.fill(2);
    w.host.answerMessage(MsgResult::Yes);
    QCOMPARE(w.main.AskToSave(), MsgResult::Yes);
    QVERIFY(w.read(QStringLiteral("HH_KVEL.hhc")).contains("Page 1"));
    expectSaved(w);
}

void TestSaveState::tocLinkPastTheEnd_data() {
    QTest::addColumn<int>("link");
    QTest::newRow("one past the end") << 2;
    QTest::newRow("far past the end") << 30000;
    QTest::newRow("negative, not -1") << -2;
}

void TestSaveState::tocLinkPastTheEnd() {
    QFETCH(int, link);
    Window w;
    w.fill(2);
    w.main.LB().setItemData(1, link);
    w.host.clearPrompts();

    w.main.SaveIt();

    expectOneCriticalMessage(w.host);
    QVERIFY(w.read(QStringLiteral("HH_KVEL.hhp"))
                .endsWith(QByteArray("[FILES]\r\n" + w.path(QStringLiteral("p0.htm")).toUtf8() + "\r\n" +
                                     w.path(QStringLiteral("p1.htm")).toUtf8() + "\r\n")));
    QVERIFY(!QFileInfo::exists(w.path(QStringLiteral("HH_KVEL.hhc"))));
    QCOMPARE(w.files(), QStringList{QStringLiteral("HH_KVEL.hhp")});
    expectUnsaved(w);
}

void TestSaveState::failedSaveKeepsPreviousContentsFile() {
    Window w;
    w.fill(3);
    w.main.SaveIt();
    const QByteArray firstHhc = w.read(QStringLiteral("HH_KVEL.hhc"));
    QVERIFY(firstHhc.endsWith("</BODY></HTML>"));

    // A bad link is a change, and the failed save leaves it unsaved.
    w.main.LB().setItemData(2, 3);
    w.host.setNow(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5)));
    w.host.clearPrompts();
    w.main.SaveIt();

    expectOneCriticalMessage(w.host);
    QVERIFY(w.read(QStringLiteral("HH_KVEL.hhp")).contains("Default Window=Folvane_270102_030405\r\n"));
    QCOMPARE(w.read(QStringLiteral("HH_KVEL.hhc")), firstHhc);
    QCOMPARE(w.files(), QStringList({QStringLiteral("HH_KVEL.hhc"), QStringLiteral("HH_KVEL.hhp")}));
    expectUnsaved(w);
}

void TestSaveState::projectFolderThroughRegularFile() {
    // Root may write anywhere: a folder below a regular file is impossible for everybody.
    Window w;
    {
        QFile plain(w.path(QStringLiteral("plain.txt")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("keep");
    }
    w.main.project().setComparePath(w.path(QStringLiteral("plain.txt/project")));
    w.fill(1);
    w.host.clearPrompts();

    w.main.SaveIt();

    expectOneCriticalMessage(w.host, QStringLiteral("HH_KVEL.hhp"));
    QCOMPARE(w.files(), QStringList{QStringLiteral("plain.txt")});
    QCOMPARE(w.read(QStringLiteral("plain.txt")), QByteArray("keep"));
    expectUnsaved(w);
}

void TestSaveState::contentsFileCannotBeReplaced() {
    Window w;
    QVERIFY(QDir(w.dir.path()).mkdir(QStringLiteral("HH_KVEL.hhc")));
    w.fill(1);
    w.host.clearPrompts();

    w.main.SaveIt();

    expectOneCriticalMessage(w.host, QStringLiteral("HH_KVEL.hhc"));
    QVERIFY(w.read(QStringLiteral("HH_KVEL.hhp")).startsWith("[OPTIONS]\r\n"));
    QVERIFY(QFileInfo(w.path(QStringLiteral("HH_KVEL.hhc"))).isDir());
    // No temporary file left behind.
    QCOMPARE(w.files(), QStringList({QStringLiteral("HH_KVEL.hhc"), QStringLiteral("HH_KVEL.hhp")}));
    expectUnsaved(w);
}

void TestSaveState::noProjectFolderRunsAddFolder() {
    Window w;
    w.main.project().setComparePath({});
    w.fill(2);
    const QStringList workingFolder = QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    w.host.clearPrompts();

    w.main.SaveIt();

    const QList<ScriptedHost::Prompt> prompts = w.host.prompts();
    QCOMPARE(prompts.size(), 1);
    QCOMPARE(prompts.first().kind, ScriptedHost::PromptKind::Folder);
    QCOMPARE(prompts.first().text, QStringLiteral("请选择要编译为CHM的文件夹:"));
    QVERIFY(w.files().isEmpty());
    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), workingFolder);
    QVERIFY(!w.main.SavedFlag); // nothing was written
    QVERIFY(w.main.ComparePath.isEmpty());
}

// Whatever the user changed, closing asks: 取消 keeps the window, 是 saves the change, and
// the project read back holds it.
void TestSaveState::everyEditAsksBeforeClosing() {
    const QList<std::function<void(Window&)>> edits = {
        [](Window& w) {
            w.host.answerInput(QStringLiteral("新名"));
            w.main.L_MouseUp(1, kRightButton, 0);
        },
        [](Window& w) {
            w.host.answerInput(QStringLiteral("Page"));
            w.host.answerInput(QStringLiteral("页"));
            w.main.Command4_Click();
        },
        [](Window& w) { // drag sorting
            w.main.setCheck1(true);
            w.main.L_MouseDown(0, 1, 0);
            w.main.L(0).setListIndex(3);
            w.main.L_MouseMove(0, 1, 0);
            w.main.setCheck1(false);
        },
        [](Window& w) { w.main.L_DblClick(1); },
        [](Window& w) { w.main.fmOption().setChmTt(QStringLiteral("手册")); },
    };
    for (const auto& edit : edits) {
        Window w;
        w.fillSaved(4);
        w.selectOnly(1);
        edit(w);
        w.host.clearPrompts();
        w.host.answerMessage(MsgResult::Cancel);
        QVERIFY(!w.main.Form_QueryUnload());
        QCOMPARE(w.host.messageTexts(), QStringList{QStringLiteral("你的文档还没保存,要保存吗？")});
        w.host.answerMessage(MsgResult::Yes);
        QVERIFY(w.main.Form_QueryUnload());

        ScriptedHost host;
        FmCHM reopened(host, PathStyle::Posix);
        QVERIFY(reopened.OpenProject(w.main.projectFilePath()));
        QCOMPARE(texts(reopened.LB()), texts(w.main.LB()));
        QCOMPARE(links(reopened.LB()), links(w.main.LB()));
        QCOMPARE(reopened.fmOption().settings().title, w.main.fmOption().settings().title);
        QCOMPARE(reopened.fmOption().settings().homePage, w.main.fmOption().settings().homePage);
    }
}

// 取消 in any input box leaves the project as it was: saved again, its files are the same bytes.
void TestSaveState::cancelChangesNothing() {
    Window w;
    w.fillSaved(4);
    w.selectOnly(2);
    const QByteArray project = w.read(QStringLiteral("HH_KVEL.hhp"));
    const QByteArray contents = w.read(QStringLiteral("HH_KVEL.hhc"));

    for (int i = 0; i < 4; ++i)
        w.host.cancelInput();
    w.main.L_MouseUp(1, kRightButton, 0);
    w.main.RenameEntry(1);
    w.main.Command1_Click();
    w.main.Command3_Click();
    w.host.answerInput(QStringLiteral("Page"));
    w.host.cancelInput();
    w.main.Command4_Click(); // 取消 in "替换为:"
    // Files picked by name, widened to their kind, and the pattern box cancelled.
    w.host.answerOpenFiles({w.path(QStringLiteral("p0.htm"))});
    w.host.answerMessage(MsgResult::Yes);
    w.host.cancelInput();
    w.main.Cmd_Click(0);

    expectSaved(w);
    QVERIFY(w.main.SaveIt());
    QCOMPARE(w.read(QStringLiteral("HH_KVEL.hhp")), project);
    QCOMPARE(w.read(QStringLiteral("HH_KVEL.hhc")), contents);
}

QTEST_GUILESS_MAIN(TestSaveState)
#include "tst_savestate.moc"
