#pragma once

#include "forms/About.h"

#include <QDialog>
#include <QIcon>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace folvane {

class Host;

// The view of the About window: a modal dialog over its owner. Esc closes it on key up.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(Host& host, QWidget* owner);

    // What the "关于.." menu item does: a new window each time, modal over owner.
    static void showModal(Host& host, QWidget* owner);

    About& form() { return form_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void render();
    void copyActiveWindowIcon();
    void showStandardAbout(const QString& programName, const QString& extraText);
    void keyUp(QKeyEvent* event);
    static bool isClick(QEvent* event, QWidget* target);

    About form_;
    QIcon icon_; // shown in Img and in the standard About box
    QLabel* img_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QPlainTextEdit* text2_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label9_ = nullptr;
    QLabel* label6_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLabel* label3_ = nullptr;
    QLabel* label7_ = nullptr;
    QLabel* label12_ = nullptr;
    QLabel* label11_ = nullptr;
    QLabel* label8_ = nullptr;
    QPushButton* command1_ = nullptr;
};

} // namespace folvane
