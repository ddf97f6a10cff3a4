#include "app/FmCHM.h"
#include "host/KeyCodes.h"
#include "navbuilder/FmContent.h"
#include "project/FmOption.h"
#include "project/ProjectOpening.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"
#include "tools/GeneratedSite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace folvane;
using namespace folvane::fixtures;

namespace {
using PromptKind = ScriptedHost::PromptKind;

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where each contents entry leads: the linked file's path, or nothing.
QStringList targets(FmCHM& form) {
    QStringList out;
    for (const ListEntry& e : form.LB().entries())
        out.append(e.itemData >= 0 && form.LF.itemData(e.itemData) < 1 ? form.LF.text(e.itemData) : QString());
    return out;
}
} // namespace

// Every test starts from a site in sub-folders, with titles that need care in a contents
// file, listed at start-up and given contents by the navigation builder.
class TestOpenProject : public QObject {
    Q_OBJECT
private slots:
    void init();
    void roundTripAfterEveryEdit();
    void changesOnDiskSinceTheSave();
    void openCommandAndStartUpQuestion();

private:
    // Saves, opens what was saved in a second window, saves there: both saves give the same
    // bytes and the second window shows the same contents.
    void checkRoundTrip(const char* step);
    void selectOnly(int row);

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<GeneratedSite> site_;
    std::unique_ptr<ScriptedHost> host_;
    std::unique_ptr<FmCHM> form_;
};

void TestOpenProject::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    site_ = std::make_unique<GeneratedSite>(tmp_->path() + QStringLiteral("/site"));
    site_->page(QStringLiteral("index.htm"), QStringLiteral("首页"));
    site_->page(QStringLiteral("guide/intro.htm"), QStringLiteral("说 \"你好\" & <b>"));
    site_->page(QStringLiteral("guide/deep/setup.htm"), QStringLiteral("  Setup, step 1"));
    site_->page(QStringLiteral("guide/deep/more.htm"), QStringLiteral("More &amp; more"));
    site_->page(QStringLiteral("faq.htm"), QStringLiteral("FAQ"));
    site_->file(QStringLiteral("style.css"), "p {}");
    host_ = std::make_unique<ScriptedHost>();
    form_ = std::make_unique<FmCHM>(*host_);
    host_->answerFolder(site_->root());
    form_->Form_Load();
    form_->Command2_Click();
    form_->fmContent().setO(NavSettings::BetweenMarkers);
    form_->fmContent().CmdOK_Click();
    QVERIFY(form_->LB().count() > 5);
}

void TestOpenProject::selectOnly(int row) {
    ListBox& toc = form_->LB();
    for (int i = 0; i < toc.count(); ++i)
        toc.setSelected(i, i == row);
    toc.setListIndex(row);
}

void TestOpenProject::checkRoundTrip(const char* step) {
    form_->SaveIt();
    const QByteArray hhp = bytesOf(form_->projectFilePath());
    const QByteArray hhc = bytesOf(form_->contentsFilePath());
    QVERIFY2(!hhp.isEmpty() && !hhc.isEmpty(), step);

    ScriptedHost host;
    FmCHM reopened(host);
    host.answerOpenFiles({form_->projectFilePath()});
    reopened.openProj_Click();
    QVERIFY2(host.messageTexts().isEmpty(), step);
    QCOMPARE(reopened.ComparePath, form_->ComparePath);
    QCOMPARE(texts(reopened.LB()), texts(form_->LB()));
    QCOMPARE(targets(reopened), targets(*form_));
    QVERIFY(reopened.AskToSave() == 0);
    reopened.SaveIt();
    QVERIFY2(bytesOf(reopened.projectFilePath()) == hhp, step);
    QVERIFY2(bytesOf(reopened.contentsFilePath()) == hhc, step);
}

void TestOpenProject::roundTripAfterEveryEdit() {
    checkRoundTrip("built with folder entries");
    selectOnly(1);
    form_->Com_Click(0);
    form_->Com_Click(0);
    checkRoundTrip("indented twice: the lists jump two levels");
    selectOnly(3);
    form_->Com_Click(1);
    selectOnly(4);
    form_->Com_Click(2);
    form_->Com_Click(3);
    checkRoundTrip("outdented, moved");
    selectOnly(2);
    host_->answerInput(QStringLiteral("  改名 \"引\" <i> a&b"));
    form_->L_MouseUp(1, MouseButton::Right, 0);
    checkRoundTrip("renamed with quotes and markup");
    host_->answerInput(QStringLiteral("新文件夹"));
    form_->Command1_Click();
    checkRoundTrip("folder node");
    host_->answerInput(QStringLiteral("e"));
    host_->answerInput(QStringLiteral("E"));
    form_->Command4_Click();
    checkRoundTrip("replaced");
    form_->setCheck1(true);
    form_->L(0).setListIndex(0);
    form_->L_MouseDown(0, MouseButton::Left, 0);
    form_->L(0).setListIndex(2);
    form_->L_MouseMove(0, MouseButton::Left, 0);
    form_->setCheck1(false);
    checkRoundTrip("drag-sorted");
    selectOnly(form_->LB().count() - 1);
    int key = KeyCode::Delete;
    form_->L_KeyDown(1, key, 0);
    checkRoundTrip("deleted");
    selectOnly(3);
    form_->L_DblClick(1);
    form_->fmOption().setChmTt(QStringLiteral("手册, \"第二版\""));
    form_->fmOption().setCh1(false);
    checkRoundTrip("home page and settings");
    // The merge resets the folder entries' markers: they stand in [FILES] as they are.
    const GeneratedSite outside(tmp_->path() + QStringLiteral("/outside"));
    form_->LF_OLEDragDrop({QDir::toNativeSeparators(outside.page(QStringLiteral("extra.htm"), QStringLiteral("X")))});
    form_->fmContent().setCheck1(false);
    form_->fmContent().CmdOK_Click();
    checkRoundTrip("a page from outside the folder, contents built anew");
}

void TestOpenProject::changesOnDiskSinceTheSave() {
    form_->SaveIt();
    const QString gone = QDir::toNativeSeparators(site_->path(QStringLiteral("guide/intro.htm")));
    const QString unlisted = QDir::toNativeSeparators(site_->path(QStringLiteral("faq.htm")));
    const int goneEntry = targets(*form_).indexOf(gone);
    const int unlistedEntry = targets(*form_).indexOf(unlisted);
    QVERIFY(goneEntry >= 0 && unlistedEntry >= 0);

    // One page deleted, one taken out of [FILES] by hand (its contents entry still names it),
    // one new page.
    QVERIFY(QFile::remove(gone));
    const QByteArray hhp = bytesOf(form_->projectFilePath());
    QFile project(form_->projectFilePath());
    QVERIFY(project.open(QIODevice::WriteOnly));
    project.write(QByteArray(hhp).replace(QByteArray(unlisted.toUtf8() + "\r\n"), QByteArray()));
    project.close();
    const QString added = QDir::toNativeSeparators(site_->page(QStringLiteral("new.htm"), QStringLiteral("New")));

    ScriptedHost host;
    FmCHM reopened(host);
    reopened.OpenProject(form_->projectFilePath());
    QCOMPARE(host.messageTexts(), QStringList{leftOutMessage({gone})});
    QCOMPARE(host.prompts().front().icon, MsgIcon::Critical);
    QCOMPARE(texts(reopened.LB()), texts(form_->LB()));
    QCOMPARE(reopened.LB().itemData(goneEntry), -1);
    QCOMPARE(targets(reopened)[unlistedEntry], unlisted);
    QVERIFY(!texts(reopened.LF).contains(gone));

    // New files come in with "添文件夹", as always.
    QVERIFY(!texts(reopened.LF).contains(added));
    host.answerFolder(site_->root());
    reopened.Cmd_Click(1);
    QVERIFY(texts(reopened.LF).contains(added));
}

void TestOpenProject::openCommandAndStartUpQuestion() {
    form_->fmOption().setChmTt(QStringLiteral("手册"));
    form_->SaveIt();
    const QStringList saved = texts(form_->LB());

    // The unsaved-changes question first; Cancel ends the command.
    selectOnly(1);
    form_->Com_Click(0);
    host_->answerMessage(MsgResult::Cancel);
    form_->openProj_Click();
    QVERIFY(host_->prompts(PromptKind::OpenFiles).isEmpty());
    // A project that cannot be read, or a file that is no project, changes nothing.
    form_->OpenProject(tmp_->path() + QStringLiteral("/none/HH_KVEL.hhp"));
    QCOMPARE(host_->prompts().last().icon, MsgIcon::Critical);
    const QString notAProject = tmp_->path() + QStringLiteral("/picture.hhp");
    QFile file(notAProject);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) == 16);
    file.close();
    form_->OpenProject(notAProject);
    QVERIFY(host_->prompts().last().text.contains(notAProject));
    QVERIFY(texts(form_->LB()) != saved);
    // The dialog starts in the project folder.
    host_->answerMessage(MsgResult::No);
    host_->answerOpenFiles({form_->projectFilePath()});
    form_->openProj_Click();
    const ScriptedHost::Prompt dialog = host_->prompts(PromptKind::OpenFiles).front();
    QCOMPARE(dialog.defaultText, form_->ComparePath + QDir::separator());
    QVERIFY(dialog.filter.startsWith(QStringLiteral("项目文件|*.hhp")));
    QCOMPARE(texts(form_->LB()), saved);

    for (const int answer : {MsgResult::Yes, MsgResult::No}) {
        ScriptedHost host;
        FmCHM form(host);
        host.answerFolder(site_->root());
        host.answerMessage(answer);
        form.Form_Load();
        // No lists the folder without what the project wrote into it, and says so.
        QCOMPARE(host.messageTexts().constFirst(), QStringLiteral("该文件夹中已有项目,要打开它吗?"));
        QCOMPARE(host.messageTexts().size(), answer == MsgResult::Yes ? 1 : 2);
        QCOMPARE(host.prompts(PromptKind::Message).front().buttons, MsgButtons::YesNo);
        QCOMPARE(form.ComparePath, site_->root());
        QVERIFY(form.AskToSave() == 0);
        // Yes opens the project; No goes on as always: the folder's files, no contents yet.
        QCOMPARE(texts(form.LB()), answer == MsgResult::Yes ? saved : QStringList());
        QCOMPARE(form.fmOption().chmTt(), answer == MsgResult::Yes ? QStringLiteral("手册") : QString());
        QVERIFY(!texts(form.LF).contains(form.projectFilePath()));
    }
}

QTEST_GUILESS_MAIN(TestOpenProject)
#include "tst_openproject.moc"
