#include "folvane-make/BatchHost.h"
#include "folvane-make/MakeOptions.h"
#include "folvane-make/ProgressLine.h"
#include "folvane-make/UsageError.h"
#include "host/Version.h"

#include "app/FmCHM.h"
#include "navbuilder/FmContent.h"
#include "project/FmOption.h"
#include "support/ScriptedHost.h"
#include "tools/GeneratedSite.h"
#include "tools/MakeProcess.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace folvane;

namespace {

// What a user chooses in the windows; the table rows give the matching command line.
struct Choices {
    int titleMode = NavSettings::BaseName;
    QString t1 = QStringLiteral("<title>");
    QString t2 = QStringLiteral("</title>");
    bool check2 = true;
    QString text1 = QStringLiteral("jpg;gif;png;bmp;css;js;vbs");
    std::optional<QString> title;
    std::optional<QString> output;
    QString home;
    bool ch1 = true;
    bool check3 = false;
    int spin1 = 4;
};

struct Written {
    QByteArray hhp;
    QByteArray hhc;
    QStringList messages;
};

QByteArray takeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    file.remove();
    return bytes;
}

// The window's road, clicked through the forms with a scripted host.
Written windowRoad(const QString& root, const Choices& c) {
    ScriptedHost host;
    host.answerFolder(root);
    FmCHM form(host);
    form.Form_Load();
    // The home page first: the reading order starts from it.
    form.fmOption().setCo1Text(c.home);
    form.Command2_Click();
    FmContent& builder = form.fmContent();
    builder.setO(c.titleMode);
    builder.setT1(c.t1);
    builder.setT2(c.t2);
    builder.setCheck2(c.check2);
    builder.setText1(c.text1);
    builder.setCheck3(c.check3);
    builder.setSpin1(c.spin1);
    builder.CmdOK_Click();
    form.Cmd_Click(2);
    FmOption& settings = form.fmOption();
    if (c.title)
        settings.setChmTt(*c.title);
    if (c.output)
        settings.setChmFN(*c.output);
    settings.setCo1Text(c.home);
    settings.setCh1(c.ch1);
    settings.Command3_Click();
    Written w{takeFile(form.projectFilePath()), takeFile(form.contentsFilePath()), {}};
    for (const QString& text : host.messageTexts())
        w.messages.append(BatchHost::oneLine(text));
    return w;
}

void makeSite(const GeneratedSite& site) {
    site.page(QStringLiteral("index.htm"), QStringLiteral("首页"),
              "<ul><li><a href='api/h1.htm'>H1</a><ul><li><a href='guide/intro.htm'>intro</a></ul></ul>");
    site.page(QStringLiteral("guide/intro.htm"), QStringLiteral("入门 &amp; 概述"));
    site.page(QStringLiteral("guide/setup/install.html"), QStringLiteral("Install\r\nGuide"));
    site.file(QStringLiteral("guide/setup/notes.txt"), "\r\n   \r\n  第一行  \r\nsecond\r\n");
    site.file(QStringLiteral("guide/pic.jpg"), "\xFF\xD8\xFF");
    site.file(QStringLiteral("guide/style.css"), "body{}");
    site.file(QStringLiteral("guide/app.js"), "var a;");
    site.pageWithoutTitle(QStringLiteral("api/ref.htm"));
    site.file(QStringLiteral("api/README"), "plain");
    site.page(QStringLiteral("api/big.htm"), QStringLiteral("Big"), QByteArray(600000, 'x'));
    site.page(QStringLiteral("api/h1.htm"), QStringLiteral("H1 page"), "<h1>Heading One</h1>");
    site.page(QStringLiteral("upper/PAGE.HTM"), QStringLiteral("Upper"));
}

QString withRoot(QString text, const QString& root) {
    return text.replace(QStringLiteral("{root}"), root);
}

bool hasCompiler() {
    return QFileInfo::exists(QStringLiteral(FOLVANE_BIN_DIR "/hhc"));
}

} // namespace

Q_DECLARE_METATYPE(Choices)

class TestFolvaneMake : public QObject {
    Q_OBJECT
private slots:
    void init();

    void parsesOptions_data();
    void parsesOptions();
    void rejectsBadCommandLines_data();
    void rejectsBadCommandLines();
    void usageHelpAndVersion();

    void batchHostAnswersLikeAnUnattendedWindow();
    void progressLineRewritesOneLine();

    void writesWhatTheWindowWrites_data();
    void writesWhatTheWindowWrites();
    void noCompileQuietWritesOnlyTheProjectFiles();
    void fullListEndsWithoutWriting_data();
    void fullListEndsWithoutWriting();
    void saveErrorExitsOne();
    void missingFolderExitsOne();
    void compilerResultDecidesExitStatus_data();
    void compilerResultDecidesExitStatus();
    void quietKeepsTheEndOfALongCompilerOutput();
    void openRebuildsTheProjectShapedInTheWindow();

private:
    // A copy of folvane-make with a shell script as the compiler beside it.
    QString withFakeCompiler(const QByteArray& script) const;

    std::unique_ptr<QTemporaryDir> tmp_;
};

void TestFolvaneMake::init() {
    tmp_ = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp_->isValid());
}

// ---- command line ----

void TestFolvaneMake::parsesOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("title");  // "-" when not given
    QTest::addColumn<QString>("output"); // "-" when not given
    QTest::addColumn<QString>("home");
    QTest::addColumn<int>("titleMode");
    QTest::addColumn<QStringList>("markers");
    QTest::addColumn<bool>("exclude");
    QTest::addColumn<QString>("types");
    QTest::addColumn<bool>("showNav");
    QTest::addColumn<bool>("compile");
    QTest::addColumn<bool>("quiet");

    const QStringList defaultMarkers{QStringLiteral("<title>"), QStringLiteral("</title>")};
    const QString defaultTypes = QStringLiteral("jpg;gif;png;bmp;css;js;vbs");
    QTest::newRow("folder only") << QStringList{QStringLiteral("site")} << "site"
                                 << "-"
                                 << "-" << QString() << int(NavSettings::BaseName) << defaultMarkers << true
                                 << defaultTypes << false << true << false;
    QTest::newRow("short options, values after")
        << QStringList{QStringLiteral("-t"), QStringLiteral("帮助"),  QStringLiteral("site"),
                       QStringLiteral("-o"), QStringLiteral("a.chm"), QStringLiteral("-q")}
        << "site" << QStringLiteral("帮助") << "a.chm" << QString() << int(NavSettings::BaseName) << defaultMarkers
        << true << defaultTypes << false << true << true;
    QTest::newRow("long options with =") << QStringList{QStringLiteral("--title=A=B"),
                                                        QStringLiteral("--home=sub\\i.htm"),
                                                        QStringLiteral("--titles=name"), QStringLiteral("--exclude="),
                                                        QStringLiteral("site")}
                                         << "site"
                                         << "A=B"
                                         << "-" << QStringLiteral("sub\\i.htm") << int(NavSettings::FullName)
                                         << defaultMarkers << true << QString() << false << true << false;
    QTest::newRow("markers take two values")
        << QStringList{QStringLiteral("--titles"), QStringLiteral("between"), QStringLiteral("--markers"),
                       QStringLiteral("<h1>"),     QStringLiteral("-x-"),     QStringLiteral("site")}
        << "site"
        << "-"
        << "-" << QString() << int(NavSettings::BetweenMarkers)
        << QStringList{QStringLiteral("<h1>"), QStringLiteral("-x-")} << true << defaultTypes << false << true << false;
    QTest::newRow("switches") << QStringList{QStringLiteral("--no-exclude"), QStringLiteral("--show-nav"),
                                             QStringLiteral("--no-compile"), QStringLiteral("--titles"),
                                             QStringLiteral("firstline"),    QStringLiteral("site")}
                              << "site"
                              << "-"
                              << "-" << QString() << int(NavSettings::FirstLine) << defaultMarkers << false
                              << defaultTypes << true << false << false;
    QTest::newRow("-- ends the options") << QStringList{QStringLiteral("-q"), QStringLiteral("--"),
                                                        QStringLiteral("-site")}
                                         << "-site"
                                         << "-"
                                         << "-" << QString() << int(NavSettings::BaseName) << defaultMarkers << true
                                         << defaultTypes << false << true << true;
    QTest::newRow("last value wins") << QStringList{QStringLiteral("-t"), QStringLiteral("a"),
                                                    QStringLiteral("--title"), QStringLiteral("b"),
                                                    QStringLiteral("site")}
                                     << "site"
                                     << "b"
                                     << "-" << QString() << int(NavSettings::BaseName) << defaultMarkers << true
                                     << defaultTypes << false << true << false;
}

void TestFolvaneMake::parsesOptions() {
    QFETCH(QStringList, arguments);
    const MakeOptions o = MakeOptions::parse(arguments);
    QCOMPARE(o.action, MakeOptions::Action::Run);
    QTEST(o.folder, "folder");
    QTEST(o.title.value_or(QStringLiteral("-")), "title");
    QTEST(o.output.value_or(QStringLiteral("-")), "output");
    QTEST(o.home, "home");
    QTEST(o.titleMode, "titleMode");
    QTEST((QStringList{o.startMarker, o.endMarker}), "markers");
    QTEST(o.exclude, "exclude");
    QTEST(o.excludedTypes, "types");
    QTEST(o.showNav, "showNav");
    QTEST(o.compile, "compile");
    QTEST(o.quiet, "quiet");
}

void TestFolvaneMake::rejectsBadCommandLines_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no folder") << QStringList{QStringLiteral("-q")} << "FOLDER is missing";
    QTest::newRow("empty folder") << QStringList{QString()} << "FOLDER is empty";
    QTest::newRow("two folders") << QStringList{QStringLiteral("a"), QStringLiteral("b")} << "unexpected argument 'b'";
    QTest::newRow("unknown option") << QStringList{QStringLiteral("a"), QStringLiteral("--fast")}
                                    << "unknown option --fast";
    QTest::newRow("missing value") << QStringList{QStringLiteral("a"), QStringLiteral("-t")}
                                   << "option -t needs a value";
    QTest::newRow("one marker") << QStringList{QStringLiteral("a"), QStringLiteral("--markers"), QStringLiteral("<b>")}
                                << "option --markers needs a value";
    QTest::newRow("markers with =") << QStringList{QStringLiteral("a"), QStringLiteral("--markers=<b>")}
                                    << "--markers takes two values: --markers START END";
    QTest::newRow("bad title mode") << QStringList{QStringLiteral("a"), QStringLiteral("--titles"),
                                                   QStringLiteral("Stem")}
                                    << "unknown --titles mode 'Stem' (stem, name, between or firstline)";
    QTest::newRow("switch with value") << QStringList{QStringLiteral("a"), QStringLiteral("--quiet=yes")}
                                       << "option --quiet takes no value";
    QTest::newRow("exclude both ways") << QStringList{QStringLiteral("a"), QStringLiteral("--exclude"),
                                                      QStringLiteral("jpg"), QStringLiteral("--no-exclude")}
                                       << "--exclude and --no-exclude cannot be used together";
    QTest::newRow("open with navigation options")
        << QStringList{QStringLiteral("a"), QStringLiteral("--open"), QStringLiteral("--titles"),
                       QStringLiteral("name")}
        << "--titles cannot be used with --open: the contents come from the project";
    QTest::newRow("unknown order") << QStringList{QStringLiteral("a"), QStringLiteral("--order=files")}
                                   << "unknown --order 'files' (folders or links)";
    QTest::newRow("depth out of range") << QStringList{QStringLiteral("a"), QStringLiteral("--depth"),
                                                       QStringLiteral("0")}
                                        << "--depth takes a number from 1 to 20, not '0'";
    QTest::newRow("order with --open") << QStringList{QStringLiteral("a"), QStringLiteral("--order"),
                                                      QStringLiteral("links"), QStringLiteral("--open")}
                                       << "--order cannot be used with --open: the contents come from the project";
}

void TestFolvaneMake::rejectsBadCommandLines() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    try {
        MakeOptions::parse(arguments);
        QFAIL("accepted");
    } catch (const UsageError& e) {
        QCOMPARE(e.reason(), reason);
    }
}

void TestFolvaneMake::usageHelpAndVersion() {
    const MakeProcess bad = MakeProcess::run({QStringLiteral("--titles"), QStringLiteral("x"), tmp_->path()});
    QCOMPARE(bad.exitCode, 2);
    QVERIFY(bad.out.isEmpty());
    QVERIFY(bad.err.startsWith("folvane-make: unknown --titles mode 'x'"));
    QVERIFY(bad.err.contains(MakeOptions::usage().toUtf8()));
    QVERIFY(GeneratedSite(tmp_->path()).projectFiles().isEmpty());

    // A home page the project does not hold would open on nothing: refused before anything is written.
    const GeneratedSite site(tmp_->path());
    site.page(QStringLiteral("index.htm"), QStringLiteral("首页"));
    const MakeProcess noPage =
        MakeProcess::run({tmp_->path(), QStringLiteral("--home"), QStringLiteral("missing.htm#top")});
    QCOMPARE(noPage.exitCode, 2);
    QVERIFY(noPage.err.startsWith("folvane-make: --home names no page of the project: missing.htm#top\n"));
    QVERIFY(site.projectFiles().isEmpty());
    QCOMPARE(MakeProcess::run({tmp_->path(), QStringLiteral("--no-compile"), QStringLiteral("--home=index.htm#top")})
                 .exitCode,
             0);

    // Help wins over a line that is wrong otherwise.
    const MakeProcess help = MakeProcess::run({QStringLiteral("--bogus"), QStringLiteral("-h")});
    QCOMPARE(help.exitCode, 0);
    QCOMPARE(help.out, MakeOptions::usage().toUtf8());
    QVERIFY(help.err.isEmpty());

    const MakeProcess version = MakeProcess::run({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("folvane-make %1.%2.%3\n")
                              .arg(FOLVANE_VERSION_MAJOR)
                              .arg(FOLVANE_VERSION_MINOR)
                              .arg(FOLVANE_VERSION_REVISION)
                              .toUtf8());
}

// ---- batch host ----

void TestFolvaneMake::batchHostAnswersLikeAnUnattendedWindow() {
    QBuffer messages;
    messages.open(QIODevice::WriteOnly);
    ProgressLine progress(messages, false);
    BatchHost host(QStringLiteral("/site"), messages, progress);

    QCOMPARE(host.browseForFolder(QString(), QStringLiteral("请选择要编译为CHM的文件夹:"), false),
             QStringLiteral("/site"));
    QCOMPARE(host.browseForFolder(QString(), QStringLiteral("请选择要编译为CHM的文件夹:"), false), QString());
    QCOMPARE(host.inputBox(QStringLiteral("文件夹名:"), QStringLiteral(" a")).value_or(QString()),
             QStringLiteral(" a"));
    QVERIFY(host.openFiles(QString(), QString(), QString()).isEmpty());

    QCOMPARE(host.messageBox(QStringLiteral("文件太大或不存在！\r\n/site/a.htm"), MsgButtons::OkOnly, MsgIcon::Critical,
                             0, {}, MsgMeaning::ItemSkipped),
             MsgResult::Ok);
    QCOMPARE(host.errorCount(), 0);
    QCOMPARE(host.warningCount(), 1);
    host.messageBox(QStringLiteral("找不到路径\n/site/HH_KVEL.hhp"), MsgButtons::OkOnly, MsgIcon::Critical);
    QCOMPARE(host.errorCount(), 1);
    QCOMPARE(host.messageBox(QStringLiteral("要保存吗？\r"), MsgButtons::YesNoCancel, MsgIcon::Question, 1),
             MsgResult::No);
    QCOMPARE(host.errorCount(), 1);
    QCOMPARE(QString::fromUtf8(messages.data()), QStringLiteral("文件太大或不存在！ /site/a.htm\n"
                                                                "找不到路径 /site/HH_KVEL.hhp\n"
                                                                "要保存吗？ \n"));
}

void TestFolvaneMake::progressLineRewritesOneLine() {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    ProgressLine line(out, true);
    QVERIFY(line.isDue());
    line.show(QStringLiteral("titles: 10/300"));
    QVERIFY(!line.isDue());
    line.show(QStringLiteral("titles: 9"));
    line.clear();
    QCOMPARE(out.data(), QByteArray("\rtitles: 10/300"
                                    "\rtitles: 9     "
                                    "\r         \r"));

    QBuffer silent;
    silent.open(QIODevice::WriteOnly);
    ProgressLine off(silent, false);
    QVERIFY(!off.isDue());
    off.show(QStringLiteral("x"));
    off.clear();
    QVERIFY(silent.data().isEmpty());
}

// ---- the road, against the forms ----

void TestFolvaneMake::writesWhatTheWindowWrites_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Choices>("choices");

    QTest::newRow("defaults") << QStringList{} << Choices{};

    Choices between;
    between.titleMode = NavSettings::BetweenMarkers;
    between.title = QStringLiteral("中文帮助");
    between.home = QStringLiteral("index.htm");
    QTest::newRow("title, home, titles between")
        << QStringList{QStringLiteral("-t"),        QStringLiteral("中文帮助"), QStringLiteral("--home"),
                       QStringLiteral("index.htm"), QStringLiteral("--titles"), QStringLiteral("between")}
        << between;

    Choices names;
    names.titleMode = NavSettings::FullName;
    names.check2 = false;
    names.ch1 = false;
    QTest::newRow("full names, nothing excluded, navigation shown")
        << QStringList{QStringLiteral("--titles"), QStringLiteral("name"), QStringLiteral("--no-exclude"),
                       QStringLiteral("--show-nav")}
        << names;

    Choices firstLine;
    firstLine.titleMode = NavSettings::FirstLine;
    firstLine.text1 = QStringLiteral("JPG;css;");
    firstLine.title = QStringLiteral("Ignored");
    firstLine.output = QStringLiteral("{root}/out/x.chm");
    QTest::newRow("first line, own types, output after title")
        << QStringList{QStringLiteral("--titles"), QStringLiteral("firstline"), QStringLiteral("--exclude"),
                       QStringLiteral("JPG;css;"), QStringLiteral("-o"),        QStringLiteral("{root}/out/x.chm"),
                       QStringLiteral("-t"),       QStringLiteral("Ignored")}
        << firstLine;

    Choices markers;
    markers.titleMode = NavSettings::BetweenMarkers;
    markers.t1 = QStringLiteral("<H1>");
    markers.t2 = QStringLiteral("</h1>");
    markers.text1 = QStringLiteral("js");
    markers.home = QStringLiteral("guide/intro.htm");
    QTest::newRow("own markers") << QStringList{QStringLiteral("--titles=between"),
                                                QStringLiteral("--markers"),
                                                QStringLiteral("<H1>"),
                                                QStringLiteral("</h1>"),
                                                QStringLiteral("--exclude=js"),
                                                QStringLiteral("--home"),
                                                QStringLiteral("guide/intro.htm")}
                                 << markers;

    Choices links;
    links.check3 = true;
    links.spin1 = 1;
    links.home = QStringLiteral("index.htm");
    QTest::newRow("reading order") << QStringList{QStringLiteral("--order"), QStringLiteral("links"),
                                                  QStringLiteral("--depth=1"), QStringLiteral("--home"),
                                                  QStringLiteral("index.htm")}
                                   << links;
}

void TestFolvaneMake::writesWhatTheWindowWrites() {
    QFETCH(QStringList, arguments);
    QFETCH(Choices, choices);
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    makeSite(site);
    // The folder as the folder browser gives it.
    const QString root = QDir::toNativeSeparators(site.root());
    if (choices.output)
        choices.output = QDir::toNativeSeparators(withRoot(*choices.output, site.root()));
    const Written window = windowRoad(root, choices);
    QVERIFY(!window.hhp.isEmpty());
    QVERIFY(!window.hhc.isEmpty());

    QStringList args{root, QStringLiteral("--no-compile")};
    for (const QString& a : arguments)
        args.append(withRoot(a, site.root()));
    const MakeProcess make = MakeProcess::run(args);
    QCOMPARE(make.exitCode, 0);
    QCOMPARE(takeFile(site.path(QStringLiteral("HH_KVEL.hhp"))), window.hhp);
    QCOMPARE(takeFile(site.path(QStringLiteral("HH_KVEL.hhc"))), window.hhc);
    // The boxes the window showed (a page too big to read under "between"), one line each.
    QCOMPARE(make.errLines(), window.messages);
    QVERIFY(make.out.startsWith(
        QByteArray("saved " + QDir::toNativeSeparators(site.path(QStringLiteral("HH_KVEL.hhp"))).toUtf8())));
}

void TestFolvaneMake::noCompileQuietWritesOnlyTheProjectFiles() {
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    site.page(QStringLiteral("a.htm"), QStringLiteral("A"));
    const MakeProcess make =
        MakeProcess::run({QStringLiteral("site"), QStringLiteral("-q"), QStringLiteral("--no-compile"),
                          QStringLiteral("-o"), QStringLiteral("rel/x.chm")},
                         {}, tmp_->path());
    QCOMPARE(make.exitCode, 0);
    QVERIFY(make.out.isEmpty());
    QVERIFY(make.err.isEmpty());
    QCOMPARE(site.projectFiles(), (QStringList{QStringLiteral("HH_KVEL.hhc"), QStringLiteral("HH_KVEL.hhp")}));
    // A relative folder and output file are taken from the working folder.
    const QByteArray hhp = takeFile(site.path(QStringLiteral("HH_KVEL.hhp")));
    const QByteArray output = QDir::toNativeSeparators(tmp_->path() + QStringLiteral("/rel/x.chm")).toUtf8();
    QVERIFY(hhp.contains(QByteArray("Compiled file=\"" + output + "\"\r\n")));
    const QByteArray page = QDir::toNativeSeparators(site.path(QStringLiteral("a.htm"))).toUtf8();
    QVERIFY(hhp.contains(QByteArray("[FILES]\r\n" + page + "\r\n")));
}

void TestFolvaneMake::fullListEndsWithoutWriting_data() {
    QTest::addColumn<int>("files");
    QTest::addColumn<QString>("message");
    QTest::newRow("scan") << kListCapacity + 1 << QStringLiteral("列表已满：最多只能容纳 32767 项。");
    QTest::newRow("folder entries") << kListCapacity - 4
                                    << QStringLiteral(
                                           "文件夹项太多：文件列表最多只能容纳 32767 项，未应用文件夹层次。");
}

void TestFolvaneMake::fullListEndsWithoutWriting() {
    QFETCH(int, files);
    QFETCH(QString, message);
    const GeneratedSite site(tmp_->path() + QStringLiteral("/big"));
    site.emptyFiles(files, 8);
    const MakeProcess make = MakeProcess::run({site.root(), QStringLiteral("-t"), QStringLiteral("x")});
    QCOMPARE(make.exitCode, 1);
    QCOMPARE(make.errLines(), QStringList{message});
    QVERIFY(make.out.isEmpty());
    QCOMPARE(site.projectFiles(), QStringList());
}

void TestFolvaneMake::saveErrorExitsOne() {
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    site.page(QStringLiteral("a.htm"), QStringLiteral("A"));
    // A folder where the contents file goes: the project file is written, the contents file not.
    QVERIFY(QDir().mkpath(site.path(QStringLiteral("HH_KVEL.hhc"))));
    const MakeProcess make = MakeProcess::run({site.root()});
    QCOMPARE(make.exitCode, 1);
    QCOMPARE(make.errLines().size(), 1);
    QVERIFY(make.errLines().front().endsWith(QDir::toNativeSeparators(site.path(QStringLiteral("HH_KVEL.hhc")))));
    QVERIFY(make.out.isEmpty());
    QVERIFY(!QFileInfo::exists(site.path(QStringLiteral("HH_KVEL.chm"))));
}

void TestFolvaneMake::missingFolderExitsOne() {
    const QString missing = QDir::toNativeSeparators(tmp_->path() + QStringLiteral("/none"));
    const MakeProcess make = MakeProcess::run({missing, QStringLiteral("--no-compile")});
    QCOMPARE(make.exitCode, 1);
    QCOMPARE(make.err, "folvane-make: not a folder: " + missing.toUtf8() + '\n');
    QVERIFY(!QFileInfo::exists(missing));
}

// ---- compiling ----

void TestFolvaneMake::compilerResultDecidesExitStatus_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("staleOutput");
    QTest::addColumn<QString>("failure");
    QTest::newRow("compiler fails") << QByteArray("echo compiler says no\nexit 3\n") << false
                                    << "folvane-make: the help compiler failed (exit status 3)";
    QTest::newRow("success without output") << QByteArray("echo compiler says no\nexit 0\n") << false
                                            << "folvane-make: the help compiler wrote no output file: {root}/T.chm";
    QTest::newRow("an old output file does not count")
        << QByteArray("echo compiler says no\nexit 0\n") << true
        << "folvane-make: the help compiler wrote no output file: {root}/T.chm";
}

void TestFolvaneMake::compilerResultDecidesExitStatus() {
    if (!hasCompiler())
        QSKIP("No help compiler beside folvane-make.");
    QFETCH(QByteArray, script);
    QFETCH(bool, staleOutput);
    QFETCH(QString, failure);
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    site.page(QStringLiteral("a.htm"), QStringLiteral("A"));
    if (staleOutput)
        site.file(QStringLiteral("T.chm"), "ITSF, an old help file");
    const QString program = withFakeCompiler(script);

    // Quiet holds the compiler's output back, but shows it when the compile failed.
    const MakeProcess make = MakeProcess::run(
        {site.root(), QStringLiteral("-t"), QStringLiteral("T"), QStringLiteral("-q")}, {}, {}, program);
    QCOMPARE(make.exitCode, 1);
    QVERIFY(make.out.isEmpty());
    QVERIFY2(make.err.contains("compiler says no"), make.err.constData());
    QCOMPARE(make.errLines().last(), withRoot(failure, site.root()));
}

void TestFolvaneMake::quietKeepsTheEndOfALongCompilerOutput() {
    if (!hasCompiler())
        QSKIP("No help compiler beside folvane-make.");
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    site.page(QStringLiteral("a.htm"), QStringLiteral("A"));
    const QString program =
        withFakeCompiler("i=0\nwhile [ $i -lt 6000 ]; do\n"
                         "  echo \"Warning: line $i of a compiler that has a lot to say about the pages\"\n"
                         "  i=$((i+1))\ndone\necho last words\nexit 2\n");
    const MakeProcess make = MakeProcess::run({site.root(), QStringLiteral("-q")}, {}, {}, program);
    QCOMPARE(make.exitCode, 1);
    QVERIFY(make.err.size() < 200 * 1024);
    QVERIFY(make.err.contains("bytes of compiler output left out...]\n"));
    QVERIFY(make.err.contains("line 5999 of a compiler"));
    QVERIFY(!make.err.contains("line 10 of a compiler"));
    QCOMPARE(make.errLines().mid(make.errLines().size() - 2),
             (QStringList{QStringLiteral("last words"),
                          QStringLiteral("folvane-make: the help compiler failed (exit status 2)")}));
}

QString TestFolvaneMake::withFakeCompiler(const QByteArray& script) const {
    const GeneratedSite tools(tmp_->path() + QStringLiteral("/tools"));
    const QString fake = tools.file(QStringLiteral("hhc"), "#!/bin/sh\n" + script);
    const QString make = tools.path(QStringLiteral("folvane-make"));
    QFile::copy(MakeProcess::program(), make);
    for (const QString& file : {fake, make})
        QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return make;
}

void TestFolvaneMake::openRebuildsTheProjectShapedInTheWindow() {
    const GeneratedSite site(tmp_->path() + QStringLiteral("/site"));
    site.page(QStringLiteral("index.htm"), QStringLiteral("Home"));
    site.page(QStringLiteral("sub/a.htm"), QStringLiteral("A"));
    site.page(QStringLiteral("sub/b.htm"), QStringLiteral("B"));
    const QString root = QDir::toNativeSeparators(site.root());
    const QString hhp = site.path(QStringLiteral("HH_KVEL.hhp"));
    const QString hhc = site.path(QStringLiteral("HH_KVEL.hhc"));

    // Shaped by hand in the window: an entry indented, a title, the pane shown.
    ScriptedHost host;
    host.answerFolder(root);
    FmCHM form(host);
    form.Form_Load();
    form.Command2_Click();
    form.fmContent().CmdOK_Click();
    form.LB().setSelected(form.LB().count() - 1, true);
    form.Com_Click(0);
    form.fmOption().setChmTt(QStringLiteral("手册"));
    form.fmOption().setCh1(false);
    form.SaveIt();

    // What the window writes when it opens the project and the home page is set.
    ScriptedHost again;
    FmCHM reopened(again);
    reopened.OpenProject(hhp);
    reopened.Cmd_Click(2);
    reopened.fmOption().setCo1Text(QStringLiteral("index.htm"));
    reopened.SaveIt();
    const QByteArray shapedHhp = takeFile(hhp);
    const QByteArray shapedHhc = takeFile(hhc);
    form.SaveIt();

    const MakeProcess open = MakeProcess::run(
        {root, QStringLiteral("--open"), QStringLiteral("--no-compile"), QStringLiteral("--home=index.htm")});
    QCOMPARE(open.exitCode, 0);
    QVERIFY(open.err.isEmpty());
    QCOMPARE(takeFile(hhp), shapedHhp);
    QCOMPARE(takeFile(hhc), shapedHhc);

    // Without --open the contents are built anew; the project's own files are left out, with a line.
    form.SaveIt();
    const MakeProcess anew = MakeProcess::run({root, QStringLiteral("--no-compile")});
    QCOMPARE(anew.exitCode, 0);
    const QString said = QString::fromUtf8(anew.err);
    QVERIFY2(said.startsWith(QStringLiteral("以下文件是以前生成的项目文件或帮助文件，没有加入文件列表：")) &&
                 said.contains(hhp) && said.count(u'\n') == 1,
             qPrintable(said));
    QVERIFY(takeFile(hhc) != shapedHhc);
    takeFile(hhp);

    const MakeProcess none = MakeProcess::run({root, QStringLiteral("--open"), QStringLiteral("--no-compile")});
    QCOMPARE(none.exitCode, 1);
    QVERIFY(none.err.startsWith("folvane-make: no project to open: "));
}

QTEST_GUILESS_MAIN(TestFolvaneMake)
#include "tst_folvanemake.moc"
