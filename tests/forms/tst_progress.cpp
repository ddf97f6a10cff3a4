#include "forms/ProB.h"
#include "forms/ProgressDriver.h"
#include "support/ScriptedHost.h"

#include <QSignalSpy>
#include <QTest>

using namespace folvane;

class TestProgress : public QObject {
    Q_OBJECT
private slots:
    void zeroOnlySetsBusyPointer();
    void reportShowsBarAndText();
    void hundredClosesWindow();
    void cancelEndsNextReport();
    void cancelDuringEventsKeepsWindowHidden();
    void nestedCloseDuringEvents();
    void statusText_data();
    void statusText();
    void emptyTextKeepsStatusLine();
    void timerCreeps();
    void timerStopsAtFullTrack();
    void timerRunsWhileLoaded();
    void onlyTagEndsProgram();
};

void TestProgress::zeroOnlySetsBusyPointer() {
    ScriptedHost host;
    ProgressDriver driver(host);
    QSignalSpy created(&driver, &ProgressDriver::formCreated);
    int percent = 0;
    QVERIFY(driver.ReportProgress(percent, QStringLiteral("正在扫描文件...")));
    QCOMPARE(percent, 0);
    QVERIFY(host.busy());
    QCOMPARE(driver.form(), nullptr);
    QCOMPARE(created.count(), 0);
    QCOMPARE(host.doEventsCount(), 0);
    percent = -5;
    QVERIFY(driver.ReportProgress(percent, {}));
    QCOMPARE(driver.form(), nullptr);
}

void TestProgress::reportShowsBarAndText() {
    ScriptedHost host;
    ProgressDriver driver(host);
    QSignalSpy created(&driver, &ProgressDriver::formCreated);
    int percent = 50;
    QVERIFY(driver.ReportProgress(percent, QStringLiteral("abc")));
    QCOMPARE(percent, 50);
    QCOMPARE(created.count(), 1);
    ProB* form = driver.form();
    QVERIFY(form);
    QCOMPARE(created.at(0).at(0).value<ProB*>(), form);
    QVERIFY(form->isVisible());
    QVERIFY(form->isLoaded());
    QCOMPARE(form->barCaption(), QStringLiteral("50%"));
    QCOMPARE(form->barWidth(), 2500);
    QCOMPARE(form->statusText(), QStringLiteral("abc"));
    QCOMPARE(host.doEventsCount(), 1);

    // Later reports reuse the same window.
    percent = 1;
    QVERIFY(driver.ReportProgress(percent, QStringLiteral("x")));
    QCOMPARE(driver.form(), form);
    QCOMPARE(form->barWidth(), 50);
    QCOMPARE(form->barCaption(), QStringLiteral("1%"));
    QCOMPARE(created.count(), 1);
}

void TestProgress::hundredClosesWindow() {
    ScriptedHost host;
    ProgressDriver driver(host);
    QSignalSpy discarded(&driver, &ProgressDriver::formDiscarded);
    int percent = 0;
    driver.ReportProgress(percent, {});
    percent = 30;
    driver.ReportProgress(percent, QStringLiteral("a"));
    percent = 100;
    QVERIFY(driver.ReportProgress(percent, QStringLiteral("done")));
    QCOMPARE(percent, 100);
    QCOMPARE(driver.form(), nullptr);
    QCOMPARE(discarded.count(), 1);
    QVERIFY(!host.busy());

    // Without a window, 100 still answers "go on" and shows nothing.
    percent = 250;
    QVERIFY(driver.ReportProgress(percent, {}));
    QCOMPARE(driver.form(), nullptr);
}

void TestProgress::cancelEndsNextReport() {
    ScriptedHost host;
    ProgressDriver driver(host);
    int percent = 40;
    driver.ReportProgress(percent, QStringLiteral("a"));
    ProB* form = driver.form();
    form->Command1_Click();
    QVERIFY(form->Dont_Continue());
    QVERIFY(!form->isVisible());
    QVERIFY(form->isLoaded());

    int caller = 60;
    QVERIFY(!driver.ReportProgress(caller, QStringLiteral("b")));
    QCOMPARE(caller, 100);
    QCOMPARE(driver.form(), nullptr);

    // A new run starts with a fresh window that has not been cancelled.
    percent = 10;
    QVERIFY(driver.ReportProgress(percent, {}));
    QVERIFY(driver.form());
    QVERIFY(!driver.form()->Dont_Continue());
    QVERIFY(driver.form()->isVisible());
}

void TestProgress::cancelDuringEventsKeepsWindowHidden() {
    ScriptedHost host;
    ProgressDriver driver(host);
    int percent = 20;
    driver.ReportProgress(percent, {});
    host.onDoEvents = [&driver] { driver.form()->Command1_Click(); };
    percent = 30;
    // The click is learnt of on the next report; the window must not come back meanwhile.
    QVERIFY(driver.ReportProgress(percent, {}));
    QVERIFY(!driver.form()->isVisible());
    host.onDoEvents = nullptr;
    percent = 40;
    QVERIFY(!driver.ReportProgress(percent, {}));
    QCOMPARE(driver.form(), nullptr);
}

void TestProgress::nestedCloseDuringEvents() {
    ScriptedHost host;
    ProgressDriver driver(host);
    host.onDoEvents = [&driver] {
        int done = 100;
        driver.ReportProgress(done, {});
    };
    int percent = 20;
    QVERIFY(driver.ReportProgress(percent, QStringLiteral("a")));
    QCOMPARE(driver.form(), nullptr);
}

void TestProgress::statusText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString head = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVW");     // 23
    const QString tail = QStringLiteral("abcdefghijklmnopqrstuvwxyz0"); // 27
    const QString fortyNine = head + QStringLiteral("中") + QStringLiteral("-").repeated(25);
    QCOMPARE(fortyNine.size(), 49);
    QTest::newRow("49 shown whole") << fortyNine << fortyNine;
    QTest::newRow("50 shortened") << head + QStringLiteral("xy") + tail << head + QStringLiteral("...") + tail;
    const QString path = QStringLiteral("/home/user/很长的文件夹名称/") + QStringLiteral("x").repeated(200) + tail;
    QTest::newRow("long") << path << path.left(23) + QStringLiteral("...") + tail;
    QTest::newRow("short") << QStringLiteral("abc") << QStringLiteral("abc");
}

void TestProgress::statusText() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    ScriptedHost host;
    ProgressDriver driver(host);
    int percent = 5;
    driver.ReportProgress(percent, text);
    QCOMPARE(driver.form()->statusText(), shown);
    QVERIFY(shown.size() <= 53);
}

void TestProgress::emptyTextKeepsStatusLine() {
    ScriptedHost host;
    ProgressDriver driver(host);
    int percent = 5;
    driver.ReportProgress(percent, QStringLiteral("first"));
    percent = 6;
    driver.ReportProgress(percent, QString());
    QCOMPARE(driver.form()->statusText(), QStringLiteral("first"));
    QCOMPARE(driver.form()->barCaption(), QStringLiteral("6%"));
}

void TestProgress::timerCreeps() {
    ScriptedHost host;
    ProgressDriver driver(host);
    int percent = 49;
    driver.ReportProgress(percent, {});
    ProB* form = driver.form();
    QSignalSpy changed(form, &ProB::changed);
    form->Timer1_Timer();
    form->Timer1_Timer();
    form->Timer1_Timer();
    QCOMPARE(form->barWidth(), 2480);
    QCOMPARE(form->barCaption(), QStringLiteral("49%"));
    form->Timer1_Timer();
    QCOMPARE(form->barWidth(), 2490);
    QCOMPARE(form->barCaption(), QStringLiteral("49%"));
    form->Timer1_Timer();
    QCOMPARE(form->barWidth(), 2500);
    QCOMPARE(form->barCaption(), QStringLiteral("50%"));
    QCOMPARE(changed.count(), 5);

    // The next report puts the bar back where the caller is.
    percent = 49;
    driver.ReportProgress(percent, {});
    QCOMPARE(form->barWidth(), 2450);
    QCOMPARE(form->barCaption(), QStringLiteral("49%"));
}

void TestProgress::timerStopsAtFullTrack() {
    ScriptedHost host;
    ProgressDriver driver(host);
    int percent = 99;
    driver.ReportProgress(percent, {});
    ProB* form = driver.form();
    for (int i = 0; i < 5; ++i)
        form->Timer1_Timer();
    QCOMPARE(form->barWidth(), 5000);
    QCOMPARE(form->barCaption(), QStringLiteral("100%"));
    QSignalSpy changed(form, &ProB::changed);
    form->Timer1_Timer();
    QCOMPARE(form->barWidth(), 5000);
    QCOMPARE(changed.count(), 0);
}

void TestProgress::timerRunsWhileLoaded() {
    ProB form;
    QCOMPARE(form.barWidth(), ProB::kInitialBarWidth);
    QVERIFY(!form.timerActive());
    form.show();
    QVERIFY(form.timerActive());
    form.Command1_Click(); // hidden, still loaded
    QVERIFY(form.timerActive());
    form.unload();
    QVERIFY(!form.timerActive());
}

void TestProgress::onlyTagEndsProgram() {
    ScriptedHost host;
    ProgressDriver driver(host);
    QSignalSpy end(&driver, &ProgressDriver::endProgramRequested);
    int percent = 10;
    driver.ReportProgress(percent, {});
    driver.form()->Command1_Click();
    QCOMPARE(end.count(), 0);

    percent = 100;
    driver.ReportProgress(percent, {});
    percent = 10;
    driver.ReportProgress(percent, {});
    driver.form()->setTag(QStringLiteral("only"));
    driver.form()->Command1_Click();
    QCOMPARE(end.count(), 1);
}

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
