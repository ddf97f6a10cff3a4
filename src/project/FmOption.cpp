#include "project/FmOption.h"

#include "document/Project.h"
#include "host/Host.h"
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
        project_.SavedFlag = false;
}

ProjectSettings FmOption::settings() const {
    return ProjectSettings{chmFN_, chmTt_, co1Text_, ch1_};
}

void FmOption::chmTt_Change() {
    // Typing a title proposes an output file named after it, in the project folder.
    setChmFN(joinPath(project_.ComparePath, chmTt_ + QStringLiteral(".chm"), project_.pathStyle()));
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

void FmOption::Command2_Click() {
    saved_ = false;
    Command3_Click();
    // A save that failed would compile the project as it was saved before.
    if (saved_)
        emit compileRequested();
}

} // namespace folvane
