#include "files/FileSelection.h"

#include "files/DialogMemory.h"
#include "files/Dialogs.h"
#include "files/FolderScan.h"
#include "forms/ProgressDriver.h"
#include "host/Host.h"
#include "util/Paths.h"
#include "util/RuntimeError.h"

namespace folvane {

namespace {
bool askForSameKind(const FileSelectionContext& in) {
    const QString prompt =
        QStringLiteral("要选择 ") + in.dialogs.LastFolder + QStringLiteral(" 及其子文件夹下所有同类文件吗？");
    return in.host.messageBox(prompt, MsgButtons::YesNoCancel, MsgIcon::Question, 1) == MsgResult::Yes;
}

std::optional<QString> askForPattern(Host& host, const QString& defaultAnswer) {
    const QSize screen = host.screenSizeTwips();
    const QPoint position(screen.width() / 2 - 3000, screen.height() / 2 - 300);
    return host.inputBox(QStringLiteral("请输入匹配字符串，如*.jpg、jpg或pic???.jpg，多个以\";\"间隔。"), defaultAnswer,
                         QString(), position);
}

QStringList pickFiles(const FileSelectionContext& in) {
    QStringList batch = ShowFileDialog(in.host, in.dialogs, 1, QStringLiteral("DLG_Defalt_Filter"),
                                       QStringLiteral("选择文件(可多选)"), QString(), in.style);
    if (batch.isEmpty() || !askForSameKind(in))
        return batch;

    int percent = 0;
    in.progress.ReportProgress(percent, QStringLiteral("正在扫描文件..."));
    in.host.doEvents();

    // The last file's extension: with several files that is the one the dialog listed last.
    const std::optional<QString> answer =
        askForPattern(in.host, QStringLiteral("*.") + PathPart(batch.constLast(), 2, in.style));
    // Cancel adds nothing; an empty pattern given with OK keeps the files chosen.
    if (!answer)
        return {};
    if (answer->isEmpty())
        return batch;
    return ListFolderFiles(in.dialogs.LastFolder, widenPatternAnswer(*answer), in.host, in.style);
}
} // namespace

QString widenPatternAnswer(const QString& answer) {
    QStringList elements = answer.split(u';');
    for (QString& element : elements) {
        if (!element.isEmpty() && !element.contains(u'.'))
            element = u'*' + element + u'*';
    }
    return elements.join(u';');
}

bool isWithinChosenFolder(const QString& projectFolder, const QString& chosen, PathStyle style) {
    return isInFolder(projectFolder, chosen, style) && !isInFolder(chosen, projectFolder, style);
}

QStringList SelectFiles(const FileSelectionContext& in, const QString& Folder, const QString& Pattern) {
    return Folder.isEmpty() ? pickFiles(in) : ListFolderFiles(Folder, Pattern, in.host, in.style);
}

void AddFilesToList(const FileSelectionContext& in, const QString& Folder, const QString& Pattern) {
    try {
        QStringList batch = SelectFiles(in, Folder, Pattern);
        in.add(batch);
    } catch (const RuntimeError& e) {
        in.host.messageBox(e.description(), MsgButtons::OkOnly, MsgIcon::Critical);
    }
    in.host.setBusy(false);
}

} // namespace folvane
