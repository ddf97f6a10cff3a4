#pragma once

#include "forms/ProB.h"

#include <QPoint>
#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace folvane {

class ProgressDriver;

// The view of the progress window: borderless, kept out of the task bar, centred on the
// screen when first shown, dragged around by its background.
class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(ProB& form, QWidget* parent = nullptr);

    // Gives every window the driver creates a view that lives as long as the form.
    static void follow(ProgressDriver& driver);

    ProB* form() const { return form_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void render();
    void centreOnScreen();
    bool dragBackground(QEvent* event);

    QPointer<ProB> form_;
    QLabel* label2_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* pro_ = nullptr;
    QLabel* st_ = nullptr;
    QPushButton* command1_ = nullptr;
    bool placed_ = false;
    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace folvane
