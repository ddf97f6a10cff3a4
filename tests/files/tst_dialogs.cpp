#include "files/DialogMemory.h"
#include "files/Dialogs.h"
#include "support/ScriptedHost.h"
#include "util/RuntimeError.h"

#include <QDir>
#include <QTest>

using namespace folvane;

namespace {
const QString kPickTitle = QStringLiteral("选择文件(可多选)");
const QString kChmFilter = QStringLiteral("*.chm|*.chm|*.*|*.*");

QStringList openFiles(ScriptedHost& host, DialogMemory& memory, PathStyle style = PathStyle::Windows) {
    return ShowFileDialog(host, memory, FileDialogMode::Open, QStringLiteral("DLG_Defalt_Filter"), kPickTitle, {},
                          style);
}

class FailingHost : public ScriptedHost {
public:
    QStringList openFiles(const QString&, const QString&, const QString&) override {
        throw RuntimeError(RuntimeError::FileAccess, QStringLiteral("设备未就绪"));
    }
};
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void severalFilesJoinedInDialogOrder();
    void oneFileHasNoTrailingNul();
    void rootFolderNotDoubled();
    void cancelForgetsFolderAndFile();
    void onlyFullPathsCount();
    void startFolderComesFromMemory();
    void saveDialogPassesItsOptions();
    void hostErrorGivesNoSelection();
    void folderBrowserStartFolder();
    void folderBrowserResults_data();
    void folderBrowserResults();
    void folderBrowserCancel();
};

void TestDialogs::severalFilesJoinedInDialogOrder() {
    ScriptedHost host;
    DialogMemory memory;
    host.answerOpenFiles({QStringLiteral("C:\\site\\index.htm"), QStringLiteral("C:\\site\\about.htm")});
    QCOMPARE(openFiles(host, memory),
             QStringList({QStringLiteral("C:\\site\\index.htm"), QStringLiteral("C:\\site\\about.htm")}));
    QCOMPARE(memory.LastFolder, QStringLiteral("C:\\site\\"));
    QCOMPARE(memory.LastFile, QStringLiteral("C:\\site\\about.htm"));

    const auto prompts = host.prompts(ScriptedHost::PromptKind::OpenFiles);
    QCOMPARE(prompts.size(), 1);
    QCOMPARE(prompts[0].text, kPickTitle);
    QCOMPARE(prompts[0].filter, QStringLiteral("所有文件|*.*"));
}

void TestDialogs::oneFileHasNoTrailingNul() {
    ScriptedHost host;
    DialogMemory memory;
    host.answerOpenFiles({QStringLiteral("/home/u/site/index.htm")});
    QCOMPARE(openFiles(host, memory, PathStyle::Posix), QStringList{QStringLiteral("/home/u/site/index.htm")});
    QCOMPARE(memory.LastFolder, QStringLiteral("/home/u/site/"));
}

void TestDialogs::rootFolderNotDoubled() {
    ScriptedHost host;
    DialogMemory memory;
    host.answerOpenFiles({QStringLiteral("C:\\index.htm")});
    QCOMPARE(openFiles(host, memory), QStringList{QStringLiteral("C:\\index.htm")});
    QCOMPARE(memory.LastFolder, QStringLiteral("C:\\"));

    host.answerOpenFiles({QStringLiteral("/index.htm")});
    QCOMPARE(openFiles(host, memory, PathStyle::Posix), QStringList{QStringLiteral("/index.htm")});
    QCOMPARE(memory.LastFolder, QStringLiteral("/"));
}

void TestDialogs::cancelForgetsFolderAndFile() {
    ScriptedHost host;
    DialogMemory memory{QStringLiteral("C:\\site\\"), QStringLiteral("C:\\site\\a.htm"), {}};
    QCOMPARE(openFiles(host, memory), QStringList());
    QCOMPARE(memory.LastFolder, QString());
    QCOMPARE(memory.LastFile, QString());
    QVERIFY(host.messageTexts().isEmpty());
}

void TestDialogs::onlyFullPathsCount() {
    ScriptedHost host;
    DialogMemory memory;
    host.answerOpenFiles({QStringLiteral("index.htm")});
    QCOMPARE(openFiles(host, memory), QStringList());
    QCOMPARE(memory.LastFolder, QString());
    // A Windows path is a bare name under Posix rules.
    host.answerOpenFiles({QStringLiteral("C:\\site\\a.htm")});
    QCOMPARE(openFiles(host, memory, PathStyle::Posix), QStringList());
}

void TestDialogs::startFolderComesFromMemory() {
    ScriptedHost host;
    DialogMemory memory{QStringLiteral("C:\\site\\"), QStringLiteral("D:\\out\\help.chm"), {}};
    openFiles(host, memory);
    memory.LastFile = QStringLiteral("D:\\out\\help.chm");
    openFiles(host, memory);
    memory.LastFile = QStringLiteral("help.chm");
    openFiles(host, memory);
    const auto prompts = host.prompts(ScriptedHost::PromptKind::OpenFiles);
    QCOMPARE(prompts.size(), 3);
    QCOMPARE(prompts[0].defaultText, QStringLiteral("C:\\site\\"));
    QCOMPARE(prompts[1].defaultText, QStringLiteral("D:\\out\\"));
    QCOMPARE(prompts[2].defaultText, QString());
}

void TestDialogs::saveDialogPassesItsOptions() {
    ScriptedHost host;
    DialogMemory memory{{}, QStringLiteral("D:\\out\\help.chm"), {}};
    host.answerSaveFile(QStringLiteral("E:\\new\\book.chm"));
    QCOMPARE(
        ShowFileDialog(host, memory, FileDialogMode::Save, kChmFilter, {}, QStringLiteral("chm"), PathStyle::Windows),
        QStringList{QStringLiteral("E:\\new\\book.chm")});
    const auto prompts = host.prompts(ScriptedHost::PromptKind::SaveFile);
    QCOMPARE(prompts.size(), 1);
    QCOMPARE(prompts[0].defaultText, QStringLiteral("D:\\out\\help.chm"));
    QCOMPARE(prompts[0].filter, kChmFilter);
    QCOMPARE(prompts[0].defaultExtension, QStringLiteral("chm"));
    QCOMPARE(prompts[0].text, QString());
    QCOMPARE(memory.LastFolder, QStringLiteral("E:\\new\\"));
    QCOMPARE(memory.LastFile, QStringLiteral("E:\\new\\book.chm"));

    QCOMPARE(
        ShowFileDialog(host, memory, FileDialogMode::Save, kChmFilter, {}, QStringLiteral("chm"), PathStyle::Windows),
        QStringList());
    QCOMPARE(memory.LastFolder, QString());
    QCOMPARE(memory.LastFile, QString());
}

void TestDialogs::hostErrorGivesNoSelection() {
    FailingHost host;
    DialogMemory memory;
    QCOMPARE(openFiles(host, memory), QStringList());
}

void TestDialogs::folderBrowserStartFolder() {
    ScriptedHost host;
    DialogMemory memory;
    QString initial;
    BrowseForFolder(host, memory, initial, QStringLiteral("请选择要编译为CHM的文件夹:"), false, PathStyle::Posix);
    QCOMPARE(memory.BrowseStartFolder, QDir::toNativeSeparators(QDir::currentPath()));

    memory.LastFolder = QStringLiteral("/srv/last");
    BrowseForFolder(host, memory, initial, {}, true, PathStyle::Posix);
    QCOMPARE(memory.BrowseStartFolder, QStringLiteral("/srv/last"));

    memory.LastFolder = QStringLiteral("/srv/last");
    initial = QStringLiteral("/srv/given");
    BrowseForFolder(host, memory, initial, {}, false, PathStyle::Posix);
    QCOMPARE(memory.BrowseStartFolder, QStringLiteral("/srv/given"));

    const auto prompts = host.prompts(ScriptedHost::PromptKind::Folder);
    QCOMPARE(prompts.size(), 3);
    QCOMPARE(prompts[0].text, QStringLiteral("请选择要编译为CHM的文件夹:"));
    QVERIFY(!prompts[0].includeFiles);
    QVERIFY(prompts[1].includeFiles);
    QCOMPARE(prompts[2].defaultText, QStringLiteral("/srv/given"));
}

void TestDialogs::folderBrowserResults_data() {
    QTest::addColumn<PathStyle>("style");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("result");
    QTest::newRow("folder") << PathStyle::Windows << QStringLiteral("C:\\site") << QStringLiteral("C:\\site");
    QTest::newRow("drive root") << PathStyle::Windows << QStringLiteral("D:\\") << QStringLiteral("D:");
    QTest::newRow("trailing separator") << PathStyle::Posix << QStringLiteral("/home/u/") << QStringLiteral("/home/u");
    QTest::newRow("posix root stays") << PathStyle::Posix << QStringLiteral("/") << QStringLiteral("/");
}

void TestDialogs::folderBrowserResults() {
    QFETCH(PathStyle, style);
    QFETCH(QString, chosen);
    QFETCH(QString, result);
    ScriptedHost host;
    DialogMemory memory;
    QString initial;
    host.answerFolder(chosen);
    QCOMPARE(BrowseForFolder(host, memory, initial, {}, false, style), result);
    QCOMPARE(initial, result);
    QCOMPARE(memory.LastFolder, result);
}

void TestDialogs::folderBrowserCancel() {
    ScriptedHost host;
    DialogMemory memory{QStringLiteral("C:\\site"), {}, {}};
    QString initial = QStringLiteral("C:\\start");
    QCOMPARE(BrowseForFolder(host, memory, initial, {}, false, PathStyle::Windows), QString());
    QCOMPARE(initial, QString());
    QCOMPARE(memory.LastFolder, QString());
    QCOMPARE(memory.BrowseStartFolder, QStringLiteral("C:\\start"));
}

QTEST_APPLESS_MAIN(TestDialogs)
#include "tst_dialogs.moc"
