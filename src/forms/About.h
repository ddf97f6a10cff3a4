#pragma once

#include "host/ProjectInfo.h"

#include <QObject>
#include <QString>

namespace folvane {

class Host;

// The About window: the program's name, version and description and the contact fields.
// Control texts are named after the controls; the view shows them whenever changed() fires.
class About : public QObject {
    Q_OBJECT
public:
    // fileDescription is the version information's description; "\n" in it marks a line break.
    explicit About(Host& host, QString fileDescription = ProjectInfo::description(), QObject* parent = nullptr);

    const QString& caption() const { return caption_; }
    const QString& Label1() const { return label1_; }
    const QString& Label2() const { return label2_; }
    const QString& Text2() const { return text2_; }
    const QString& label4() const { return label4_; }
    const QString& Label5() const { return label5_; }
    const QString& Label9() const { return label9_; }
    const QString& Label9ToolTip() const { return label9ToolTip_; }
    const QString& Label6() const { return label6_; }
    const QString& Text1() const { return text1_; }
    int Text1SelStart() const { return text1SelStart_; }
    int Text1SelLength() const { return text1SelLength_; }
    const QString& Label3() const { return label3_; }
    const QString& Label7() const { return label7_; }
    const QString& Label12() const { return label12_; }
    const QString& Label11() const { return label11_; }
    const QString& Label8() const { return label8_; }
    const QString& Command1() const { return command1_; }

    static QString versionText(int major, int minor, int revision);
    // Turns every backslash-n pair into CR LF.
    static QString expandLineBreaks(const QString& text);

    // Fills the window; a step that fails is skipped and the next one runs.
    void Form_Load();
    void Command1_Click();
    void Label9_Click();
    void Label7_Click();
    void Text1_DblClick();
    void Form_KeyUp(int keyCode, int shift);

signals:
    void changed();
    // The view shows the icon of the window active at this moment.
    void activeWindowIconRequested();
    void standardAboutRequested(const QString& programName, const QString& extraText);
    void closeRequested();

private:
    Host& host_;
    QString fileDescription_;
    QString caption_;
    QString label1_;
    QString label2_;
    QString text2_;
    QString label4_;
    QString label5_;
    QString label9_;
    QString label9ToolTip_;
    QString label6_;
    QString text1_;
    int text1SelStart_ = 0;
    int text1SelLength_ = 0;
    QString label3_;
    QString label7_;
    QString label12_;
    QString label11_;
    QString label8_;
    QString command1_;
};

} // namespace folvane
