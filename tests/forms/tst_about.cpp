#include "forms/About.h"
#include "host/ProjectInfo.h"
#include "support/ScriptedHost.h"

#include <QSignalSpy>
#include <QTest>

#include <stdexcept>

using namespace folvane;

namespace {
// Fails every question about the program itself, as a broken version resource would.
class FailingHost : public ScriptedHost {
public:
    QString programName() override { throw std::runtime_error("no name"); }
};
} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void designTexts();
    void loadStepsInOrder();
    void version_data();
    void version();
    void description_data();
    void description();
    void loadGoesOnPastFailingSteps();
    void escapeCloses_data();
    void escapeCloses();
    void labelsOpenAddresses();
    void doubleClickSelectsEmail();
    void standardAboutBox();
};

void TestAbout::designTexts() {
    ScriptedHost host;
    About form(host);
    QCOMPARE(form.Label1(), QStringLiteral("Nam"));
    QCOMPARE(form.Label2(), QStringLiteral("ver"));
    QCOMPARE(form.Text2(), QStringLiteral("Desc\r\n"));
    QCOMPARE(form.Label9ToolTip(), QStringLiteral("访问我的主页"));
    QCOMPARE(form.Command1(), QStringLiteral("Inf"));
    QVERIFY(form.label4().startsWith(QStringLiteral("作者：")));
    QCOMPARE(host.beeps(), 0);
}

void TestAbout::loadStepsInOrder() {
    ScriptedHost host;
    host.setProgramName(QStringLiteral("Folvane"));
    About form(host);
    QStringList order;
    connect(&form, &About::activeWindowIconRequested, this, [&] {
        // The icon comes after the beep and the caption, before the name.
        order << QStringLiteral("icon");
        QCOMPARE(host.beeps(), 1);
        QCOMPARE(form.caption(), QStringLiteral("关于 Folvane --By Dorvantis"));
        QCOMPARE(form.Label1(), QStringLiteral("Nam"));
    });
    connect(&form, &About::changed, this, [&] { order << QStringLiteral("changed"); });
    form.Form_Load();
    QCOMPARE(order.value(0), QStringLiteral("icon"));
    QCOMPARE(order.last(), QStringLiteral("changed"));
    QCOMPARE(host.beeps(), 1);
    QCOMPARE(form.Label1(), QStringLiteral("Folvane"));
    QCOMPARE(form.Label2(), QStringLiteral("Ver: 1.0.24"));
    QCOMPARE(form.Text2(), ProjectInfo::description());
    QCOMPARE(form.Label9(), ProjectInfo::homeAddress());
    QCOMPARE(form.Text1SelStart(), 0);
    QCOMPARE(form.Text1SelLength(), form.Text1().size());
    QVERIFY(form.Text1SelLength() > 0);
}

void TestAbout::version_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.0.24") << 1 << 0 << 24 << QStringLiteral("Ver: 1.0.24");
    QTest::newRow("no leading zeros") << 2 << 10 << 7 << QStringLiteral("Ver: 2.10.7");
    QTest::newRow("zero") << 0 << 0 << 0 << QStringLiteral("Ver: 0.0.0");
}

void TestAbout::version() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, text);
    ScriptedHost host;
    host.setVersion(AppVersion{major, minor, revision});
    About form(host);
    form.Form_Load();
    QCOMPARE(form.Label2(), text);
}

void TestAbout::description_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one paragraph") << QStringLiteral("第一行。第二行") << QStringLiteral("第一行。第二行");
    QTest::newRow("backslash n") << QStringLiteral("第一行。\\n第二行") << QStringLiteral("第一行。\r\n第二行");
    QTest::newRow("two") << QStringLiteral("a\\nb\\n") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("backslash alone") << QStringLiteral("C:\\x\\") << QStringLiteral("C:\\x\\");
    QTest::newRow("real line feed untouched") << QStringLiteral("a\nb") << QStringLiteral("a\nb");
    QTest::newRow("empty") << QString() << QString();
}

void TestAbout::description() {
    QFETCH(QString, description);
    QFETCH(QString, shown);
    ScriptedHost host;
    About form(host, description);
    form.Form_Load();
    QCOMPARE(form.Text2(), shown);
}

void TestAbout::loadGoesOnPastFailingSteps() {
    FailingHost host;
    About form(host);
    form.Form_Load();
    QCOMPARE(host.beeps(), 1);
    QCOMPARE(form.caption(), QString());
    QCOMPARE(form.Label1(), QStringLiteral("Nam"));
    QCOMPARE(form.Label2(), QStringLiteral("Ver: 1.0.24"));
    QCOMPARE(form.Text2(), ProjectInfo::description());
    QCOMPARE(form.Text1SelLength(), form.Text1().size());

    QSignalSpy about(&form, &About::standardAboutRequested);
    form.Command1_Click();
    QCOMPARE(about.count(), 0);
}

void TestAbout::escapeCloses_data() {
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<int>("shift");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Esc") << 27 << 0 << true;
    QTest::newRow("Shift+Esc") << 27 << 1 << true;
    QTest::newRow("Enter") << 13 << 0 << false;
    QTest::newRow("A") << 65 << 0 << false;
    QTest::newRow("Space") << 32 << 0 << false;
}

void TestAbout::escapeCloses() {
    QFETCH(int, keyCode);
    QFETCH(int, shift);
    QFETCH(bool, closes);
    ScriptedHost host;
    About form(host);
    QSignalSpy close(&form, &About::closeRequested);
    form.Form_KeyUp(keyCode, shift);
    QCOMPARE(close.count(), closes ? 1 : 0);
}

void TestAbout::labelsOpenAddresses() {
    ScriptedHost host;
    About form(host);
    form.Form_Load();
    form.Label9_Click();
    form.Label7_Click();
    QCOMPARE(host.openedUrls(),
             QStringList({QStringLiteral("https://folvane.example.org/"), ProjectInfo::contactAddress()}));
    for (const QString& url : host.openedUrls())
        QVERIFY(url.startsWith(QStringLiteral("https://folvane.example.org/")));
    QVERIFY(host.launches().isEmpty());
}

void TestAbout::doubleClickSelectsEmail() {
    ScriptedHost host;
    About form(host);
    QCOMPARE(form.Text1SelLength(), 0);
    QSignalSpy changed(&form, &About::changed);
    form.Text1_DblClick();
    QCOMPARE(form.Text1SelStart(), 0);
    QCOMPARE(form.Text1SelLength(), ProjectInfo::email().size());
    QCOMPARE(changed.count(), 1);
}

void TestAbout::standardAboutBox() {
    ScriptedHost host;
    host.setProgramName(QStringLiteral("Folvane"));
    About form(host);
    QSignalSpy about(&form, &About::standardAboutRequested);
    form.Command1_Click();
    QCOMPARE(about.count(), 1);
    QCOMPARE(about.at(0).at(0).toString(), QStringLiteral("Folvane"));
    QCOMPARE(about.at(0).at(1).toString(), QStringLiteral("Dorvantis"));
}

QTEST_GUILESS_MAIN(TestAbout)
#include "tst_about.moc"
