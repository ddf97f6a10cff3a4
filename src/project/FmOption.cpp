#include "project/FmOption.h"

#include "document/Project.h"
#include "host/Host.h"
#include "project/OutputFileCheck.h"
#include "util/PathJoin.h"

namespace folvane {

FmOption::FmOption(Project& project, Host& host) : project_(project), host_(host) {}

void FmOption::setChmFN(const QString& text) {
    markEdited(chmFN_ != text);
    chmFN_ = text;
    chmFN_Change();
}

void FmOption::setChmTt(const QString& text) {
    markEdited(chmTt_ != text);
    chmTt_ = text;
    chmTt_Change();
}

void FmOption::setCo1Text(const QString& text) {
    markEdited(co1Text_ != text);
    co1Text_ = text;
    emit changed();
}

void FmOption::setCh1(bool checked) {
    markEdited(ch1_ != checked);
    ch1_ = checked;
    emit changed();
}

void FmOption::markEdited(bool edited) {
    if (edited)
        project_.markEdited();
}

ProjectSettings FmOption::settings() const {
    return ProjectSettings{chmFN_, chmTt_, co1Text_, ch1_};
}

void FmOption::chmTt_Change() {
    // Typing a title proposes an output file named after it, in the project folder: a name,
    // never a path to somewhere else.
    const PathStyle style = project_.pathStyle();
    setChmFN(joinPath(project_.ComparePath(), fileNameFromTitle(chmTt_, style) + QStringLiteral(".chm"), style));
}

void FmOption::chmFN_Change() {
    lab_.clear();
    emit changed();
}

void FmOption::Command1_Click() {
    project_.dialogs().LastFile = chmFN_;
    const QStringList chosen =
        project_.showFileDialog(host_, 2, QStringLiteral("*.chm|*.chm|*.*|*.*"), QString(), QStringLiteral("chm"));
    if (!chosen.isEmpty())
        setChmFN(chosen.constLast());
}

void FmOption::Command3_Click() {
    emit saveRequested();
}

void FmOption::showSaved(bool saved) {
    saved_ = saved;
    lab_ = saved ? QStringLiteral("保存成功!") : QString();
    emit changed();
}

std::optional<bool> FmOption::confirmOutput() {
    const QString output = chmFN_;
    switch (examineOutput(output, project_.ComparePath(), project_.pathStyle())) {
    case OutputTarget::Free:
        return false;
    case OutputTarget::ProjectFile:
        host_.messageBox(QStringLiteral("CHM文件不能是项目文件或目录文件，请换一个文件名：\n") + output,
                         MsgButtons::OkOnly, MsgIcon::Critical);
        return std::nullopt;
    case OutputTarget::NotHelpFile:
        return askToReplace(output + QStringLiteral("\n这个文件已存在，但不是CHM文件。要用编译出的CHM文件替换它吗？"));
    case OutputTarget::ReadOnly:
        break;
    }
    return askToReplace(output + QStringLiteral("\n这个CHM文件是只读的。要用编译出的CHM文件替换它吗？"));
}

std::optional<bool> FmOption::askToReplace(const QString& question) {
    if (host_.messageBox(question, MsgButtons::YesNo, MsgIcon::Exclamation, 1) == MsgResult::Yes)
        return true;
    return std::nullopt;
}

void FmOption::Command2_Click() {
    // The compiler refuses such an output as well; asked here, nothing is saved in vain.
    const std::optional<bool> replaceAny = confirmOutput();
    if (!replaceAny)
        return;
    saved_ = false;
    Command3_Click();
    // A save that failed would compile the project as it was saved before.
    if (saved_)
        emit compileRequested(*replaceAny);
}

} // namespace folvane
