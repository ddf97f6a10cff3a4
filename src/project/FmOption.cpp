#include "project/FmOption.h"

#include "app/FmCHM.h"
#include "host/Host.h"
#include "util/PathJoin.h"

namespace folvane {

FmOption::FmOption(FmCHM& main, Host& host) : main_(main), host_(host) {}

void FmOption::setChmFN(const QString& text) {
    chmFN_ = text;
    chmFN_Change();
}

void FmOption::setChmTt(const QString& text) {
    chmTt_ = text;
    chmTt_Change();
}

void FmOption::setCo1Text(const QString& text) {
    co1Text_ = text;
    emit changed();
}

void FmOption::setCh1(bool checked) {
    ch1_ = checked;
    emit changed();
}

ProjectSettings FmOption::settings() const {
    return ProjectSettings{chmFN_, chmTt_, co1Text_, ch1_};
}

void FmOption::chmTt_Change() {
    // Typing a title proposes an output file named after it, in the project folder.
    setChmFN(joinPath(main_.ComparePath, chmTt_ + QStringLiteral(".chm"), main_.pathStyle()));
}

void FmOption::chmFN_Change() {
    lab_.clear();
    emit changed();
}

void FmOption::Command1_Click() {
    main_.dialogs().LastFile = chmFN_;
    const QString chosen =
        main_.showFileDialog(2, QStringLiteral("*.chm|*.chm|*.*|*.*"), QString(), QStringLiteral("chm"));
    if (!chosen.isEmpty())
        setChmFN(chosen);
}

void FmOption::Command3_Click() {
    main_.SaveIt();
    lab_ = QStringLiteral("保存成功!");
    emit changed();
}

void FmOption::Command2_Click() {
    Command3_Click();
    main_.Cmd_Click(3);
}

} // namespace folvane
