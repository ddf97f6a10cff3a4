#include "forms/About.h"

#include "host/Host.h"
#include "host/KeyCodes.h"

#include <exception>
#include <utility>

namespace folvane {

namespace {
QString extraLine() {
    return QStringLiteral("Dorvantis");
}

// Load goes on past a step that fails.
template <typename Step> void runStep(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}
} // namespace

About::About(Host& host, QString fileDescription, QObject* parent)
    : QObject(parent), host_(host), fileDescription_(std::move(fileDescription)), label1_(QStringLiteral("Nam")),
      label2_(QStringLiteral("ver")), text2_(QStringLiteral("Desc\r\n")),
      label4_(QStringLiteral("作者：") + ProjectInfo::author()), label5_(QStringLiteral("主页：")),
      label9_(ProjectInfo::homeAddress()), label9ToolTip_(QStringLiteral("访问我的主页")),
      label6_(QStringLiteral("Email：")), text1_(ProjectInfo::email()), label3_(QStringLiteral("地址：")),
      label7_(ProjectInfo::postalAddress()), label12_(ProjectInfo::messenger()),
      label11_(QStringLiteral("程序纯个人创作,若发现Bug 或有建议欢迎联系与交流！")), label8_(ProjectInfo::rights()),
      command1_(QStringLiteral("Inf")) {}

QString About::versionText(int major, int minor, int revision) {
    return QStringLiteral("Ver: %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString About::expandLineBreaks(const QString& text) {
    QString out = text;
    return out.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
}

void About::Form_Load() {
    runStep([this] { host_.beep(); });
    runStep(
        [this] { caption_ = QStringLiteral("关于 ") + host_.programName() + QStringLiteral(" --By ") + extraLine(); });
    runStep([this] { emit activeWindowIconRequested(); });
    runStep([this] { label1_ = host_.programName(); });
    runStep([this] {
        const AppVersion v = host_.version();
        label2_ = versionText(v.major, v.minor, v.revision);
    });
    runStep([this] { text2_ = expandLineBreaks(fileDescription_); });
    runStep([this] { label9_ = ProjectInfo::homeAddress(); });
    Text1_DblClick();
    emit changed();
}

void About::Command1_Click() {
    runStep([this] { emit standardAboutRequested(host_.programName(), extraLine()); });
}

void About::Label9_Click() {
    host_.openUrl(label9_);
}

void About::Label7_Click() {
    host_.openUrl(ProjectInfo::contactAddress());
}

void About::Text1_DblClick() {
    text1SelStart_ = 0;
    text1SelLength_ = static_cast<int>(text1_.size());
    emit changed();
}

void About::Form_KeyUp(int keyCode, int /*shift*/) {
    if (keyCode == KeyCode::Escape)
        emit closeRequested();
}

} // namespace folvane
