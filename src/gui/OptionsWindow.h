#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace folvane {

class FmCHM;
class FmOption;
class ListBoxModel;

// "编译设置": a fixed tool window over FmOption. Its close box unloads the form, which
// forgets the settings; the window goes with it.
class OptionsWindow : public QWidget {
    Q_OBJECT
public:
    OptionsWindow(FmCHM& main, FmOption& form, QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void fitCaptions();
    void render();

    FmCHM& main_;
    FmOption& form_;
    QLineEdit* chmFN_ = nullptr;
    QLineEdit* chmTt_ = nullptr;
    QComboBox* co1_ = nullptr;
    QCheckBox* ch1_ = nullptr;
    QLabel* lab_ = nullptr;
};

} // namespace folvane
