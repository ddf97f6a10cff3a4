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

#include <functional>
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

// A site with pages in sub-folders, titles that need care in a contents file, and files the
// navigation builder leaves out.
void writeSite(const GeneratedSite& site) {
    site.page(QStringLiteral("index.htm"), QStringLiteral("首页"));
    site.page(QStringLiteral("guide/intro.htm"), QStringLiteral("说 \"你好\" & <b>"));
    site.page(QStringLiteral("guide/deep/setup.htm"), QStringLiteral("  Setup, step 1"));
    site.page(QStringLiteral("guide/deep/more.htm"), QStringLiteral("More &amp; more"));
    site.page(QStringLiteral("faq.htm"), QStringLiteral("FAQ"));
    site.file(QStringLiteral("notes.txt"), "first line\r\n");
    site.file(QStringLiteral("style.css"), "p {}");
}
} // namespace

class TestOpenProject : public QObject {
    Q_OBJECT
private slots:
    void init();
    void roundTripAfterEveryEdit();
    void changesOnDiskSinceTheSave();
    void openAsksToSaveFirstAndStartsInTheProjectFolder();
    void unreadableProjectChangesNothing();
    void startUpQuestion();

private:
    // The window's road up to a built contents list.
    void startAndBuild(const QString& root);
    // Saves, opens what was saved in a second window, saves there: both saves give the same
    // bytes and the second window shows the same contents.
    void checkRoundTrip(const char* step);

    std::unique_ptr<QTemporaryDir> tmp_;
    std::unique_ptr<ScriptedHost> host_;
    std::unique_ptr<FmCHM> form_;
};

void TestOpenProject::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    host_ = std::make_unique<ScriptedHost>();
    form_ = std::make_unique<FmCHM>(*host_);
}

void TestOpenProject::startAndBuild(const QString& root) {
    host_->answerFolder(root);
    form_->Form_Load();
    form_->Command2_Click();
    form_->fmContent().setO(NavSettings::BetweenMarkers);
    form_->fmContent().CmdOK_Click();
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
    QVERIFY2(host.messageTexts().isEmpty(), qPrintable(host.messageTexts().join(u'\n')));
    QCOMPARE(reopened.ComparePath, form_->ComparePath);
    QCOMPARE(texts(reopened.LB()), texts(form_->LB()));
    QCOMPARE(targets(reopened), targets(*form_));
    QVERIFY(reopened.AskToSave() == 0);
    reopened.SaveIt();
    QVERIFY2(bytesOf(reopened.projectFilePath()) == hhp, step);
    QVERIFY2(bytesOf(reopened.contentsFilePath()) == hhc, step);
}

void TestOpenProject::roundTripAfterEveryEdit() {
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    writeSite(site);
    const GeneratedSite outside(tmp_->path() + QStringLiteral("/outside"));
    outside.page(QStringLiteral("extra.htm"), QStringLiteral("Extra"));
    startAndBuild(site.root());
    QVERIFY(form_->LB().count() > 5);
    checkRoundTrip("built with folder entries");

    ListBox& toc = form_->LB();
    auto selectOnly = [&toc](int row) {
        for (int i = 0; i < toc.count(); ++i)
            toc.setSelected(i, i == row);
        toc.setListIndex(row);
    };
    const QList<std::pair<const char*, std::function<void()>>> edits = {
        {"indent twice: lists jump two levels",
         [&] {
             selectOnly(1);
             form_->Com_Click(0);
             form_->Com_Click(0);
         }},
        {"outdent",
         [&] {
             selectOnly(3);
             form_->Com_Click(1);
         }},
        {"move up and down",
         [&] {
             selectOnly(4);
             form_->Com_Click(2);
             selectOnly(0);
             form_->Com_Click(3);
         }},
        {"rename with quotes and markup",
         [&] {
             selectOnly(2);
             host_->answerInput(QStringLiteral("  改名 \"引\" <i> a&b"));
             form_->L_MouseUp(1, MouseButton::Right, 0);
         }},
        {"folder node",
         [&] {
             selectOnly(1);
             host_->answerInput(QStringLiteral("新文件夹"));
             form_->Command1_Click();
         }},
        {"replace",
         [&] {
             host_->answerInput(QStringLiteral("e"));
             host_->answerInput(QStringLiteral("E"));
             form_->Command4_Click();
         }},
        {"drag-sort",
         [&] {
             form_->setCheck1(true);
             form_->L(0).setListIndex(0);
             form_->L_MouseDown(0, MouseButton::Left, 0);
             form_->L(0).setListIndex(2);
             form_->L_MouseMove(0, MouseButton::Left, 0);
             form_->setCheck1(false);
         }},
        {"delete",
         [&] {
             selectOnly(form_->LB().count() - 1);
             int key = KeyCode::Delete;
             form_->L_KeyDown(1, key, 0);
         }},
        {"home page and settings",
         [&] {
             selectOnly(3);
             form_->L_DblClick(1);
             form_->fmOption().setChmTt(QStringLiteral("手册, \"第二版\""));
             form_->fmOption().setCh1(false);
         }},
        {"a page from outside the folder, contents built anew",
         [&] {
             form_->LF_OLEDragDrop({QDir::toNativeSeparators(outside.path(QStringLiteral("extra.htm")))});
             form_->fmContent().setCheck1(false);
             form_->fmContent().CmdOK_Click();
         }},
    };
    for (const auto& [step, edit] : edits) {
        edit();
        checkRoundTrip(step);
    }
}

void TestOpenProject::changesOnDiskSinceTheSave() {
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    writeSite(site);
    startAndBuild(site.root());
    form_->SaveIt();
    const QString gone = QDir::toNativeSeparators(site.path(QStringLiteral("guide/intro.htm")));
    const QString unlisted = QDir::toNativeSeparators(site.path(QStringLiteral("faq.htm")));
    const int goneEntry = targets(*form_).indexOf(gone);
    const int unlistedEntry = targets(*form_).indexOf(unlisted);
    QVERIFY(goneEntry >= 0 && unlistedEntry >= 0);
    const QStringList savedToc = texts(form_->LB());

    // One page deleted, one taken out of [FILES] by hand (its contents entry still names it),
    // one new page.
    QVERIFY(QFile::remove(gone));
    const QByteArray hhp = bytesOf(form_->projectFilePath());
    QFile project(form_->projectFilePath());
    QVERIFY(project.open(QIODevice::WriteOnly));
    project.write(QByteArray(hhp).replace(QByteArray(unlisted.toUtf8() + "\r\n"), QByteArray()));
    project.close();
    site.page(QStringLiteral("new.htm"), QStringLiteral("New"));

    ScriptedHost host;
    FmCHM reopened(host);
    reopened.OpenProject(form_->projectFilePath());
    QCOMPARE(host.messageTexts(), QStringList{leftOutMessage({gone})});
    QCOMPARE(host.prompts().front().icon, MsgIcon::Critical);
    QCOMPARE(texts(reopened.LB()), savedToc);
    const QStringList reopenedTargets = targets(reopened);
    QCOMPARE(reopenedTargets[goneEntry], QString());
    QCOMPARE(reopened.LB().itemData(goneEntry), -1);
    QCOMPARE(reopenedTargets[unlistedEntry], unlisted);
    QCOMPARE(reopened.LF.text(reopened.LF.count() - 1), unlisted);
    QVERIFY(!texts(reopened.LF).contains(gone));
    const QString added = QDir::toNativeSeparators(site.path(QStringLiteral("new.htm")));
    QVERIFY(!texts(reopened.LF).contains(added));

    // New files come in with "添文件夹", as always.
    host.answerFolder(site.root());
    reopened.Cmd_Click(1);
    QVERIFY(texts(reopened.LF).contains(added));
    QVERIFY(!texts(reopened.LF).contains(gone));
}

void TestOpenProject::openAsksToSaveFirstAndStartsInTheProjectFolder() {
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    writeSite(site);
    startAndBuild(site.root());
    form_->SaveIt();
    const QStringList saved = texts(form_->LB());
    form_->LB().setSelected(1, true);
    form_->Com_Click(0);
    host_->clearPrompts();

    host_->answerMessage(MsgResult::Cancel);
    form_->openProj_Click();
    QCOMPARE(host_->prompts().size(), 1);
    QVERIFY(host_->prompts(PromptKind::OpenFiles).isEmpty());

    host_->answerMessage(MsgResult::No);
    host_->answerOpenFiles({form_->projectFilePath()});
    form_->openProj_Click();
    const QList<ScriptedHost::Prompt> dialogs = host_->prompts(PromptKind::OpenFiles);
    QCOMPARE(dialogs.size(), 1);
    QCOMPARE(dialogs.front().defaultText, form_->ComparePath + QDir::separator());
    QVERIFY(dialogs.front().filter.startsWith(QStringLiteral("项目文件|*.hhp")));
    // Not saved, so the project comes back as it was saved.
    QCOMPARE(texts(form_->LB()), saved);
    QVERIFY(form_->AskToSave() == 0);
}

void TestOpenProject::unreadableProjectChangesNothing() {
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    writeSite(site);
    startAndBuild(site.root());
    const QStringList before = texts(form_->LB());
    const QString folder = form_->ComparePath;
    const QString missing = QDir::toNativeSeparators(tmp_->path() + QStringLiteral("/none/HH_KVEL.hhp"));
    form_->OpenProject(missing);
    QCOMPARE(host_->prompts().last().icon, MsgIcon::Critical);
    QVERIFY(host_->messageTexts().last().endsWith(missing));
    QCOMPARE(texts(form_->LB()), before);
    QCOMPARE(form_->ComparePath, folder);
}

void TestOpenProject::startUpQuestion() {
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    writeSite(site);
    startAndBuild(site.root());
    form_->fmOption().setChmTt(QStringLiteral("手册"));
    form_->SaveIt();

    for (const int answer : {MsgResult::Yes, MsgResult::No}) {
        ScriptedHost host;
        FmCHM form(host);
        host.answerFolder(site.root());
        host.answerMessage(answer);
        form.Form_Load();
        QCOMPARE(host.messageTexts(), QStringList{QStringLiteral("该文件夹中已有项目,要打开它吗?")});
        QCOMPARE(host.prompts(PromptKind::Message).front().buttons, MsgButtons::YesNo);
        QCOMPARE(form.ComparePath, site.root());
        QVERIFY(form.AskToSave() == 0);
        if (answer == MsgResult::Yes) {
            QCOMPARE(texts(form.LB()), texts(form_->LB()));
            QCOMPARE(form.fmOption().chmTt(), QStringLiteral("手册"));
        } else {
            // Today's road: the folder's files, no contents yet.
            QCOMPARE(form.LB().count(), 0);
            QVERIFY(texts(form.LF).contains(form.projectFilePath()));
        }
    }
}

QTEST_GUILESS_MAIN(TestOpenProject)
#include "tst_openproject.moc"
