#include "hhc/HhcWindow.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QScrollBar>
#include <QUrl>
#include <QVBoxLayout>

namespace folvane::hhc {

HhcWindow::HhcWindow(QWidget* parent)
    : QWidget(parent), output_(new QPlainTextEdit(this)), status_(new QLabel(QStringLiteral("正在编译…"), this)),
      open_(new QPushButton(QStringLiteral("打开"), this)), close_(new QPushButton(QStringLiteral("关闭"), this)) {
    setWindowTitle(QStringLiteral("HTML Help 编译"));
    resize(640, 360);

    output_->setObjectName(QStringLiteral("output"));
    output_->setReadOnly(true);
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Monospace like a console, with Chinese glyphs of the same width.
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), mono.family()});
    mono.setPointSize(9);
    output_->setFont(mono);

    status_->setObjectName(QStringLiteral("status"));
    open_->setObjectName(QStringLiteral("open"));
    open_->setAutoDefault(true); // Enter on it opens rather than closes
    open_->hide();
    connect(open_, &QPushButton::clicked, this, &HhcWindow::openOutput);
    close_->setObjectName(QStringLiteral("close"));
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(open_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(output_, 1);
    layout->addLayout(buttons);
    setTabOrder(close_, output_);
    close_->setFocus();
}

void HhcWindow::appendOutput(const QString& text) {
    output_->moveCursor(QTextCursor::End);
    output_->insertPlainText(text);
    output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void HhcWindow::showResult(bool succeeded, const QString& text, bool complete) {
    appendOutput(text + u'\n');
    status_->setText(!succeeded ? QStringLiteral("编译失败")
                     : complete ? QStringLiteral("编译成功")
                                : QStringLiteral("有文件未能编入"));
    open_->setVisible(succeeded && !outputFile_.isEmpty());
}

void HhcWindow::centreOver(const QRect& area) {
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

void HhcWindow::openOutput() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(outputFile_).absoluteFilePath()));
}

// Like a console window's last prompt: Esc or Enter ends it, wherever the focus is, unless
// Enter presses the button that has the focus.
void HhcWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HhcWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

} // namespace folvane::hhc
