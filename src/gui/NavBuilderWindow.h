#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace folvane {

class FmContent;

// The view of the navigation builder: a modeless dialog owned by the main window, so it
// stays above it. Closing it only hides it; the form keeps the settings for the run.
class NavBuilderWindow : public QDialog {
    Q_OBJECT
public:
    NavBuilderWindow(FmContent& form, QWidget* owner);

    FmContent& form() { return form_; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void render();
    void followVisible(bool visible);
    void bringToFront();

    FmContent& form_;
    QGroupBox* frame1_ = nullptr;
    QButtonGroup* options_ = nullptr;
    QRadioButton* o_[4] = {};
    QLineEdit* t1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLineEdit* t2_ = nullptr;
    QLabel* label2_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QSpinBox* spin1_ = nullptr;
    QCheckBox* check2_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLabel* label3_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace folvane
