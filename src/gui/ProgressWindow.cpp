#include "gui/ProgressWindow.h"

#include "forms/ProB.h"
#include "forms/ProgressDriver.h"
#include "gui/Twips.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace folvane {

namespace {
QLabel* coloured(QLabel* label, const QColor& background, const QColor& text) {
    QPalette palette = label->palette();
    if (background.isValid()) {
        label->setAutoFillBackground(true);
        palette.setColor(QPalette::Window, background);
    }
    if (text.isValid())
        palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    return label;
}
} // namespace

ProgressWindow::ProgressWindow(ProB& form, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), form_(&form) {
    setObjectName(QStringLiteral("ProB"));
    setFixedSize(pixelsFromTwips(ProB::kClientWidth), pixelsFromTwips(ProB::kClientHeight));
    buildControls();
    connect(&form, &ProB::changed, this, &ProgressWindow::render);
    // The driver discards the form at 100 %: the window goes with it.
    connect(&form, &QObject::destroyed, this, [this] {
        hide();
        deleteLater();
    });
    render();
}

void ProgressWindow::follow(ProgressDriver& driver) {
    connect(&driver, &ProgressDriver::formCreated, &driver, [](ProB* form) { new ProgressWindow(*form); });
    connect(&driver, &ProgressDriver::endProgramRequested, &driver, [] { QCoreApplication::quit(); });
}

void ProgressWindow::buildControls() {
    label2_ = coloured(place(new QLabel(this), "Label2", 0, 0, 5150, 1140), QColor(246, 224, 255), {});
    label2_->setCursor(Qt::SizeAllCursor);
    label2_->installEventFilter(this);

    label1_ = coloured(place(new QLabel(this), "Label1", 90, 440, ProB::kFullWidth, 300), QColor(192, 192, 192), {});

    pro_ = coloured(place(new QLabel(this), "Pro", 90, 450, ProB::kInitialBarWidth, 285), QColor(160, 128, 255),
                    QColor(0, 255, 255));
    pro_->setAlignment(Qt::AlignCenter);

    st_ = coloured(named(new QLabel(this), "ST"), {}, QColor(0, 0, 255));
    st_->move(pixelsFromTwips(45), pixelsFromTwips(120));

    command1_ = place(new QPushButton(QStringLiteral("取消"), this), "Command1", 2010, 780, 1065, 315);
    connect(command1_, &QPushButton::clicked, this, [this] {
        if (form_)
            form_->Command1_Click();
    });
}

void ProgressWindow::render() {
    if (!form_)
        return;
    pro_->setText(form_->barCaption());
    pro_->resize(pixelsFromTwips(form_->barWidth()), pro_->height());
    st_->setText(form_->statusText());
    st_->adjustSize();
    if (form_->isVisible() && !isVisible()) {
        if (!placed_)
            centreOnScreen();
        show();
    } else if (!form_->isVisible() && isVisible()) {
        hide();
    }
}

void ProgressWindow::centreOnScreen() {
    placed_ = true;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

bool ProgressWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label2_ && dragBackground(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

// Any button on the background moves the window: the window system's own move where it
// offers one, else the window follows the mouse until the button is released.
bool ProgressWindow::dragBackground(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (windowHandle() && windowHandle()->startSystemMove())
            return true;
        dragging_ = true;
        dragOffset_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pos();
        return true;
    }
    case QEvent::MouseMove:
        if (!dragging_)
            return false;
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
        return true;
    case QEvent::MouseButtonRelease:
        if (!dragging_)
            return false;
        dragging_ = false;
        return true;
    default:
        return false;
    }
}

// A close from the window system (there is no title bar) counts as "取消".
void ProgressWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (form_ && form_->isVisible())
        form_->Command1_Click();
}

} // namespace folvane
