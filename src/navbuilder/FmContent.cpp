#include "navbuilder/FmContent.h"

#include "navbuilder/NavigationPass.h"

#include <algorithm>
#include <utility>

namespace folvane {

FmContent::FmContent(Project& project, Host& host) : project_(project), host_(host) {}

void FmContent::setO(int index) {
    if (index < 0 || index >= kOptionCount || index == settings_.titleMode)
        return;
    settings_.titleMode = index;
    emit changed();
}

void FmContent::setT1(const QString& text) {
    if (text == settings_.startMarker)
        return;
    settings_.startMarker = text;
    emit changed();
}

void FmContent::setT2(const QString& text) {
    if (text == settings_.endMarker)
        return;
    settings_.endMarker = text;
    emit changed();
}

void FmContent::setCheck1(bool checked) {
    if (checked == settings_.applyFolderHierarchy)
        return;
    settings_.applyFolderHierarchy = checked;
    emit changed();
}

void FmContent::setCheck3(bool checked) {
    if (checked == Check3())
        return;
    settings_.order = checked ? NavSettings::Order::Links : NavSettings::Order::Folders;
    emit changed();
}

void FmContent::setSpin1(int depth) {
    depth = std::clamp(depth, NavSettings::kMinDepthLimit, NavSettings::kMaxDepthLimit);
    if (depth == settings_.depthLimit)
        return;
    settings_.depthLimit = depth;
    emit changed();
}

void FmContent::setCheck2(bool checked) {
    if (checked == settings_.excludeTypes)
        return;
    settings_.excludeTypes = checked;
    Check2_Click();
    emit changed();
}

void FmContent::setText1(const QString& text) {
    if (text == settings_.excludedTypes)
        return;
    settings_.excludedTypes = text;
    emit changed();
}

void FmContent::setVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    emit visibleChanged(visible_);
}

void FmContent::Show() {
    setVisible(true);
    emit raiseRequested();
}

void FmContent::Check2_Click() {
    text1Enabled_ = settings_.excludeTypes;
    text1BackColor_ = text1Enabled_ ? BackColor::WindowBackground : BackColor::Menu;
    emit changed();
}

void FmContent::CmdCancel_Click() {
    setVisible(false);
}

void FmContent::CmdOK_Click() {
    // The settings are taken once: a control changed while the pass lets events run
    // does not change the pass half-way.
    NavSettings pass = settings();
    if (homePage_)
        pass.homePage = homePage_();
    NavigationPass(project_, host_, std::move(pass)).run();
    setVisible(false);
}

} // namespace folvane
