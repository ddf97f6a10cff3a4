#pragma once

#include "navbuilder/NavSettings.h"

#include <QObject>
#include <QString>

#include <functional>

namespace folvane {

class Host;
class Project;

// The navigation builder ("导航栏制作"). Created on first use and kept for the whole run,
// so the user's settings last until the program ends. Control values are named after the
// controls; the view shows them whenever changed() fires.
class FmContent : public QObject {
    Q_OBJECT
public:
    static constexpr int kOptionCount = 4;

    // Background of Text1: the colour of window backgrounds, or of menus while disabled.
    enum class BackColor { WindowBackground, Menu };

    FmContent(Project& project, Host& host);

    QString caption() const { return QStringLiteral("导航栏制作"); }

    // The option button that is on, 0 to 3.
    int O() const { return settings_.titleMode; }
    const QString& T1() const { return settings_.startMarker; }
    const QString& T2() const { return settings_.endMarker; }
    bool Check1() const { return settings_.applyFolderHierarchy; }
    // The reading order replaces the folder hierarchy while it is chosen.
    bool Check1Enabled() const { return !Check3(); }
    bool Check3() const { return settings_.order == NavSettings::Order::Links; }
    int Spin1() const { return settings_.depthLimit; }
    bool Spin1Enabled() const { return Check3(); }
    bool Check2() const { return settings_.excludeTypes; }
    const QString& Text1() const { return settings_.excludedTypes; }
    bool Text1Enabled() const { return text1Enabled_; }
    BackColor Text1BackColor() const { return text1BackColor_; }
    bool isVisible() const { return visible_; }

    // Turns option index on (and the others off); other indexes are ignored.
    void setO(int index);
    void setT1(const QString& text);
    void setT2(const QString& text);
    void setCheck1(bool checked);
    void setCheck3(bool checked);
    // Kept within the limits NavSettings gives.
    void setSpin1(int depth);
    // Runs Check2_Click when the value changes.
    void setCheck2(bool checked);
    void setText1(const QString& text);
    void setVisible(bool visible);
    // What the main window's "==>" does: makes the window visible and brings it to the front.
    void Show();

    // The pass as the controls describe it now.
    const NavSettings& settings() const { return settings_; }
    // Where "确定" finds the home page the walk of the links starts from.
    void setHomePageSource(std::function<QString()> source) { homePage_ = std::move(source); }

    void Check2_Click();
    void CmdCancel_Click();
    void CmdOK_Click();

signals:
    void changed();
    void visibleChanged(bool visible);
    void raiseRequested();

private:
    Project& project_;
    Host& host_;
    NavSettings settings_;
    std::function<QString()> homePage_;
    bool text1Enabled_ = true;
    BackColor text1BackColor_ = BackColor::WindowBackground;
    bool visible_ = false;
};

} // namespace folvane
