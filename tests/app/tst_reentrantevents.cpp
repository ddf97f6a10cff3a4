#include "app/FmCHM.h"
#include "host/KeyCodes.h"
#include "navbuilder/FmContent.h"
#include "navbuilder/NavSettings.h"
#include "support/ListFixtures.h"
#include "support/ScriptedHost.h"
#include "util/KeyState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace folvane;
using namespace folvane::fixtures;

namespace {

enum class Operation { Scan, TitlePass, CtrlMove };
enum class Intrusion { NewProject, Delete, ModeSwitch, AnotherScan };

void writePage(const QString& path, const QString& title) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html><title>" + title.toUtf8() + "</title></html>");
}

void makeSite(const QString& root, const QString& tag) {
    for (int folder = 0; folder < 3; ++folder)
        for (int page = 0; page < 8; ++page)
            writePage(root + QStringLiteral("/f%1/p%2.htm").arg(folder).arg(page), tag + QString::number(page));
    writePage(root + QStringLiteral("/index.htm"), tag);
}

// What a click does when it arrives while another command lets events run.
void intrude(FmCHM& form, ScriptedHost& host, Intrusion intrusion, const QString& otherSite) {
    switch (intrusion) {
    case Intrusion::NewProject:
        host.answerMessage(MsgResult::No);
        host.answerFolder(otherSite);
        form.newf_Click();
        break;
    case Intrusion::Delete: {
        ListBox& toc = form.LB();
        for (int i = toc.count() / 2; i < toc.count(); ++i)
            toc.setSelected(i, true);
        int key = KeyCode::Delete;
        form.L_KeyDown(form.lbIndex(), key, 0);
        break;
    }
    case Intrusion::ModeSwitch:
        form.setCheck1(!form.Check1());
        break;
    case Intrusion::AnotherScan:
        host.answerFolder(otherSite);
        form.Cmd_Click(1);
        break;
    }
}

void expectConsistent(FmCHM& form, ScriptedHost& host) {
    for (const ListBox* list : std::initializer_list<const ListBox*>{&form.LF, &form.L(0), &form.L(1)}) {
        QVERIFY(list->listIndex() >= -1 && list->listIndex() < list->count());
        QVERIFY(list->count() <= kListCapacity);
    }
    QVERIFY(form.L(0).selectedCount() <= 1);
    // One TOC list in use, shown, and the other one empty and hidden.
    QCOMPARE(form.lbIndex(), form.Check1() ? 0 : 1);
    QVERIFY(form.LB().isVisible());
    QVERIFY(!form.L(1 - form.lbIndex()).isVisible());
    QCOMPARE(form.L(1 - form.lbIndex()).count(), 0);
    // Every file once; every folder entry is a known folder (a known folder may have left the
    // list when adding files rebuilt it).
    const QStringList files = texts(form.LF);
    QCOMPARE(QSet<QString>(files.begin(), files.end()).size(), files.size());
    for (const ListEntry& e : form.LF.entries())
        QVERIFY2(e.itemData < 1 || form.FolderSet.contains(e.text), qPrintable(e.text));
    for (const ListEntry& e : form.LB().entries())
        QVERIFY2(e.itemData == -1 || form.LF.isValidIndex(e.itemData), qPrintable(e.text));
    QVERIFY(!host.busy());
}

} // namespace

// Commands that let events run while they work, and clicks that arrive meanwhile: whatever
// the order, nothing crashes, the lists stay consistent and the project can be saved.
class TestReentrantEvents : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void clickDuringCommand_data();
    void clickDuringCommand();

private:
    QTemporaryDir dir_;
    QString site_;
    QString otherSite_;
};

void TestReentrantEvents::initTestCase() {
    QVERIFY(dir_.isValid());
    site_ = dir_.path() + QStringLiteral("/site");
    otherSite_ = dir_.path() + QStringLiteral("/other");
    makeSite(site_, QStringLiteral("页"));
    makeSite(otherSite_, QStringLiteral("Other "));
}

void TestReentrantEvents::clickDuringCommand_data() {
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<Intrusion>("intrusion");
    const std::pair<const char*, Operation> operations[] = {
        {"scan", Operation::Scan}, {"title pass", Operation::TitlePass}, {"ctrl move", Operation::CtrlMove}};
    const std::pair<const char*, Intrusion> intrusions[] = {{"new project", Intrusion::NewProject},
                                                            {"delete", Intrusion::Delete},
                                                            {"mode switch", Intrusion::ModeSwitch},
                                                            {"another scan", Intrusion::AnotherScan}};
    for (const auto& [operationName, operation] : operations)
        for (const auto& [intrusionName, intrusion] : intrusions)
            QTest::addRow("%s, %s", operationName, intrusionName) << operation << intrusion;
}

void TestReentrantEvents::clickDuringCommand() {
    QFETCH(Operation, operation);
    QFETCH(Intrusion, intrusion);
    ScriptedHost host;
    FmCHM form(host, PathStyle::Posix);
    if (operation != Operation::Scan) {
        host.answerFolder(site_);
        form.Cmd_Click(1);
        form.FoldIt_Click();
        QVERIFY(form.LB().count() > 20);
    }

    int rounds = 0;
    host.onDoEvents = [&] {
        ++rounds;
        if (rounds == 2 || (operation == Operation::Scan && rounds == 1))
            intrude(form, host, intrusion, otherSite_);
        if (operation == Operation::CtrlMove && rounds >= 5)
            host.setKeyDown(kVkControl, false);
    };
    switch (operation) {
    case Operation::Scan:
        host.answerFolder(site_);
        form.Cmd_Click(1);
        break;
    case Operation::TitlePass:
        form.fmContent().setO(NavSettings::BetweenMarkers);
        form.fmContent().setCheck1(false);
        form.fmContent().CmdOK_Click();
        break;
    case Operation::CtrlMove:
        for (int i = 3; i < 9; ++i)
            form.LB().setSelected(i, true);
        host.setKeyDown(kVkControl, true);
        form.Com_Click(3);
        break;
    }
    QVERIFY(rounds >= 2 || operation == Operation::Scan);
    expectConsistent(form, host);

    host.onDoEvents = nullptr;
    host.clearPrompts();
    const QTemporaryDir saveDir;
    form.project().setComparePath(saveDir.path());
    form.SaveIt();
    QCOMPARE(host.messageTexts(), QStringList());
    QVERIFY(QFile::exists(form.contentsFilePath()));
}

QTEST_GUILESS_MAIN(TestReentrantEvents)
#include "tst_reentrantevents.moc"
