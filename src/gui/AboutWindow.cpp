#include "gui/AboutWindow.h"

#include "gui/KeyTranslation.h"
#include "gui/MessageBoxWidth.h"
#include "gui/Named.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace folvane {

namespace {
constexpr int kIconSize = 32;

QLabel* linkLabel(const char* name) {
    auto* label = named(new QLabel, name);
    label->setCursor(Qt::PointingHandCursor);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

QFrame* separator(const char* name) {
    auto* line = named(new QFrame, name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

AboutWindow::AboutWindow(Host& host, QWidget* owner) : QDialog(owner), form_(host) {
    setObjectName(QStringLiteral("About"));
    setModal(true);
    buildControls();
    connect(&form_, &About::changed, this, &AboutWindow::render);
    connect(&form_, &About::activeWindowIconRequested, this, &AboutWindow::copyActiveWindowIcon);
    connect(&form_, &About::standardAboutRequested, this, &AboutWindow::showStandardAbout);
    connect(&form_, &About::closeRequested, this, &QDialog::reject);
    render();
    form_.Form_Load();
}

void AboutWindow::showModal(Host& host, QWidget* owner) {
    AboutWindow window(host, owner);
    window.exec();
}

void AboutWindow::buildControls() {
    img_ = named(new QLabel, "Img");
    img_->setFixedSize(kIconSize, kIconSize);
    label1_ = named(new QLabel, "Label1");
    QFont nameFont = label1_->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
    label1_->setFont(nameFont);
    label2_ = named(new QLabel, "Label2");
    text2_ = named(new QPlainTextEdit, "Text2");
    text2_->setReadOnly(true);
    text2_->setFixedHeight(text2_->fontMetrics().lineSpacing() * 3 + 12);
    label4_ = named(new QLabel, "label4");
    label5_ = named(new QLabel, "Label5");
    label9_ = linkLabel("Label9");
    label6_ = named(new QLabel, "Label6");
    text1_ = named(new QLineEdit, "Text1");
    text1_->setReadOnly(true);
    label3_ = named(new QLabel, "Label3");
    label7_ = linkLabel("Label7");
    label12_ = named(new QLabel, "Label12");
    label11_ = named(new QLabel, "Label11");
    label11_->setWordWrap(true);
    label8_ = named(new QLabel, "Label8");
    command1_ = named(new QPushButton, "Command1");
    command1_->setAutoDefault(false);
    connect(command1_, &QPushButton::clicked, &form_, &About::Command1_Click);

    auto* head = new QGridLayout;
    head->addWidget(img_, 0, 0, 2, 1, Qt::AlignTop);
    head->addWidget(label1_, 0, 1);
    head->addWidget(label2_, 1, 1);
    head->setColumnStretch(1, 1);

    auto* fields = new QGridLayout;
    fields->addWidget(label4_, 0, 0, 1, 2);
    fields->addWidget(label5_, 1, 0);
    fields->addWidget(label9_, 1, 1);
    fields->addWidget(label6_, 2, 0);
    fields->addWidget(text1_, 2, 1);
    fields->addWidget(label3_, 3, 0);
    fields->addWidget(label7_, 3, 1);
    fields->addWidget(label12_, 4, 0, 1, 2);
    fields->setColumnStretch(1, 1);

    auto* foot = new QHBoxLayout;
    foot->addWidget(label8_, 1);
    foot->addWidget(command1_);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(head);
    layout->addWidget(text2_);
    layout->addWidget(separator("Line1"));
    layout->addLayout(fields);
    layout->addWidget(separator("Line2"));
    layout->addWidget(label11_);
    layout->addLayout(foot);
    // About 28 wide characters a line: the description takes two or three lines.
    text2_->setFixedWidth(text2_->fontMetrics().horizontalAdvance(QStringLiteral("中").repeated(28)) + 16);

    for (QWidget* w : {static_cast<QWidget*>(label9_), static_cast<QWidget*>(label7_), static_cast<QWidget*>(text1_),
                       static_cast<QWidget*>(text2_), static_cast<QWidget*>(command1_)})
        w->installEventFilter(this);
}

void AboutWindow::render() {
    setWindowTitle(form_.caption());
    label1_->setText(form_.Label1());
    label2_->setText(form_.Label2());
    // The form keeps the CR LF pairs; the editor wants one break per line.
    QString description = form_.Text2();
    text2_->setPlainText(description.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    label4_->setText(form_.label4());
    label5_->setText(form_.Label5());
    label9_->setText(form_.Label9());
    label9_->setToolTip(form_.Label9ToolTip());
    label6_->setText(form_.Label6());
    text1_->setText(form_.Text1());
    text1_->setSelection(form_.Text1SelStart(), form_.Text1SelLength());
    label3_->setText(form_.Label3());
    label7_->setText(form_.Label7());
    label12_->setText(form_.Label12());
    label11_->setText(form_.Label11());
    label8_->setText(form_.Label8());
    command1_->setText(form_.Command1());
}

void AboutWindow::copyActiveWindowIcon() {
    const QWidget* active = QApplication::activeWindow();
    icon_ = active ? active->windowIcon() : QApplication::windowIcon();
    // Without an icon of the program's own the area would stay empty.
    if (icon_.isNull())
        icon_ = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    img_->setPixmap(icon_.pixmap(kIconSize, kIconSize));
}

// The system's About box: the program's name and the extra line beside the window's icon.
void AboutWindow::showStandardAbout(const QString& programName, const QString& extraText) {
    QMessageBox box(this);
    box.setObjectName(QStringLiteral("StandardAbout"));
    box.setWindowTitle(QStringLiteral("关于 ") + programName);
    box.setText(programName + QLatin1Char('\n') + extraText);
    box.setIconPixmap(icon_.pixmap(kIconSize, kIconSize));
    box.setStandardButtons(QMessageBox::Ok);
    widenForTitle(box);
    box.exec();
}

bool AboutWindow::isClick(QEvent* event, QWidget* target) {
    if (event->type() != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    return mouse->button() == Qt::LeftButton && target->rect().contains(mouse->position().toPoint());
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        keyUp(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (watched == label9_ && isClick(event, label9_)) {
        form_.Label9_Click();
        return true;
    }
    if (watched == label7_ && isClick(event, label7_)) {
        form_.Label7_Click();
        return true;
    }
    if (watched == text1_ && event->type() == QEvent::MouseButtonDblClick) {
        form_.Text1_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Esc closes on key up, through the form; the press must not close the dialog already.
void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutWindow::keyReleaseEvent(QKeyEvent* event) {
    keyUp(event);
}

void AboutWindow::keyUp(QKeyEvent* event) {
    event->accept();
    if (!event->isAutoRepeat())
        form_.Form_KeyUp(formKeyCode(event), formShiftMask(event->modifiers()));
}

} // namespace folvane
