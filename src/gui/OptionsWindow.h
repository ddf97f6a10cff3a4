#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace folvane {

class FmOption;
class ListBoxModel;

// "编译设置": a fixed tool window over FmOption. Closing it (also by Esc) only closes the
// window: the settings stay with the project and show again at the next opening.
class OptionsWindow : public QWidget {
    Q_OBJECT
public:
    OptionsWindow(FmOption& form, QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void fitCaptions();
    void render();

    FmOption& form_;
    QLineEdit* chmFN_ = nullptr;
    QLineEdit* chmTt_ = nullptr;
    QComboBox* co1_ = nullptr;
    QCheckBox* ch1_ = nullptr;
    QLabel* lab_ = nullptr;
};

} // namespace folvane
