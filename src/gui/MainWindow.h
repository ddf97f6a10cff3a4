#pragma once

#include <QMainWindow>

class QAction;
class QLabel;
class QCheckBox;
class QPushButton;

namespace folvane {

class FmCHM;
class FmOption;
class Host;
class ListBoxView;

// The main window "Folvane - Simple CHM Maker": a fixed layout of the main form's
// controls. Every event goes to the form; the window only renders its state.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(FmCHM& form, Host& host, QWidget* parent = nullptr);

    ListBoxView* fileList() const { return lf_; }
    ListBoxView* tocList(int index) const { return index == 0 ? l0_ : l1_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls(QWidget* client);
    void buildMenus();
    void fitClientArea(QWidget* client);
    void wireTocList(ListBoxView* view, int index);
    void wireFileList();
    void wireDialogs();
    QPushButton* button(QWidget* client, const QString& name, const QString& caption, const QRect& twips);
    void setTabOrder();
    void showOptionsWindow(FmOption* form, bool show);
    // Moves the selected entries up (2) or down (3): once for a shortcut, repeating for a click.
    void moveEntries(int index);

    FmCHM& form_;
    Host& host_;
    ListBoxView* lf_ = nullptr;
    ListBoxView* l0_ = nullptr;
    ListBoxView* l1_ = nullptr;
    QLabel* lab_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QAction* hhpReg_ = nullptr;
    QAction* dragSort_ = nullptr;
    bool moveByShortcut_ = false;
};

} // namespace folvane
