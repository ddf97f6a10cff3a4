#include "hhc/HhcWindow.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace folvane::hhc {

HhcWindow::HhcWindow(QWidget* parent)
    : QWidget(parent), output_(new QPlainTextEdit(this)), status_(new QLabel(QStringLiteral("正在编译…"), this)) {
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
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(output_, 1);
    layout->addLayout(buttons);
}

void HhcWindow::appendOutput(const QString& text) {
    output_->moveCursor(QTextCursor::End);
    output_->insertPlainText(text);
    output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void HhcWindow::showResult(bool succeeded, const QString& text) {
    appendOutput(text + u'\n');
    status_->setText(succeeded ? QStringLiteral("编译成功") : QStringLiteral("编译失败"));
}

void HhcWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

} // namespace folvane::hhc
