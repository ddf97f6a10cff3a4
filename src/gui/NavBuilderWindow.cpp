#include "gui/NavBuilderWindow.h"

#include "navbuilder/FmContent.h"

#include "gui/Named.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace folvane {

namespace {
// Room for a number of average characters, so the captions and texts fit whatever the font.
int charsWide(const QWidget* w, int chars) {
    return w->fontMetrics().averageCharWidth() * chars + 12;
}

void setTextIfDifferent(QLineEdit* edit, const QString& text) {
    if (edit->text() != text)
        edit->setText(text);
}
} // namespace

NavBuilderWindow::NavBuilderWindow(FmContent& form, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      form_(form) {
    setObjectName(QStringLiteral("FmContent"));
    setModal(false);
    buildControls();
    connectControls();
    render();
    if (form_.isVisible())
        show();
}

void NavBuilderWindow::buildControls() {
    frame1_ = named(new QGroupBox(QStringLiteral("导航标题")), QStringLiteral("Frame1"));
    const QString captions[] = {QStringLiteral("取"), QStringLiteral("取完整文件名"),
                                QStringLiteral("取无后缀的文件名"), QStringLiteral("文本文件取非空第1行")};
    options_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        o_[i] = named(new QRadioButton(captions[i]), QStringLiteral("O%1").arg(i));
        options_->addButton(o_[i], i);
    }
    t1_ = named(new QLineEdit, QStringLiteral("T1"));
    label1_ = named(new QLabel(QStringLiteral("与")), QStringLiteral("Label1"));
    t2_ = named(new QLineEdit, QStringLiteral("T2"));
    label2_ = named(new QLabel(QStringLiteral("之间的字符")), QStringLiteral("Label2"));
    t1_->setFixedWidth(charsWide(t1_, 12));
    t2_->setFixedWidth(charsWide(t2_, 12));

    auto* markers = new QHBoxLayout;
    markers->addWidget(o_[0]);
    markers->addWidget(t1_);
    markers->addWidget(label1_);
    markers->addWidget(t2_);
    markers->addWidget(label2_);
    markers->addStretch(1);
    auto* frameLayout = new QVBoxLayout(frame1_);
    frameLayout->addLayout(markers);
    for (int i = 1; i < 4; ++i)
        frameLayout->addWidget(o_[i], 0, Qt::AlignLeft);

    check1_ = named(new QCheckBox(QStringLiteral("应用文件夹层次")), QStringLiteral("Check1"));
    check3_ = named(new QCheckBox(QStringLiteral("按首页链接顺序")), QStringLiteral("Check3"));
    spin1_ = named(new QSpinBox, QStringLiteral("Spin1"));
    spin1_->setRange(NavSettings::kMinDepthLimit, NavSettings::kMaxDepthLimit);
    spin1_->setPrefix(QStringLiteral("最多 "));
    spin1_->setSuffix(QStringLiteral(" 层"));
    auto* contentsOrder = new QHBoxLayout;
    contentsOrder->addWidget(check1_);
    contentsOrder->addSpacing(charsWide(check1_, 2));
    contentsOrder->addWidget(check3_);
    contentsOrder->addWidget(spin1_);
    contentsOrder->addStretch(1);
    check2_ = named(new QCheckBox(QStringLiteral("不包含文件类型:")), QStringLiteral("Check2"));
    text1_ = named(new QLineEdit, QStringLiteral("Text1"));
    text1_->setMinimumWidth(charsWide(text1_, 30));
    label3_ = named(new QLabel(QStringLiteral("可使用*和?")), QStringLiteral("Label3"));
    auto* types = new QHBoxLayout;
    types->addWidget(check2_);
    types->addWidget(text1_, 1);
    types->addWidget(label3_);

    cmdOK_ = named(new QPushButton(QStringLiteral("确定")), QStringLiteral("CmdOK"));
    cmdOK_->setDefault(true);
    cmdCancel_ = named(new QPushButton(QStringLiteral("取消")), QStringLiteral("CmdCancel"));
    cmdCancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOK_);
    buttons->addStretch(1);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(frame1_);
    layout->addLayout(contentsOrder);
    layout->addLayout(types);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    // The widgets came into the window out of layout order: Tab goes from top to bottom.
    const QList<QWidget*> order = {o_[0],   t1_,    t2_,     o_[1],  o_[2],  o_[3],     check1_,
                                   check3_, spin1_, check2_, text1_, cmdOK_, cmdCancel_};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void NavBuilderWindow::connectControls() {
    connect(options_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            form_.setO(id);
    });
    connect(t1_, &QLineEdit::textEdited, &form_, &FmContent::setT1);
    connect(t2_, &QLineEdit::textEdited, &form_, &FmContent::setT2);
    connect(text1_, &QLineEdit::textEdited, &form_, &FmContent::setText1);
    connect(check1_, &QCheckBox::toggled, &form_, &FmContent::setCheck1);
    connect(check2_, &QCheckBox::toggled, &form_, &FmContent::setCheck2);
    connect(check3_, &QCheckBox::toggled, &form_, &FmContent::setCheck3);
    connect(spin1_, &QSpinBox::valueChanged, &form_, &FmContent::setSpin1);
    connect(cmdOK_, &QPushButton::clicked, &form_, &FmContent::CmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, &form_, &FmContent::CmdCancel_Click);

    connect(&form_, &FmContent::changed, this, &NavBuilderWindow::render);
    connect(&form_, &FmContent::visibleChanged, this, &NavBuilderWindow::followVisible);
    connect(&form_, &FmContent::raiseRequested, this, &NavBuilderWindow::bringToFront);
}

void NavBuilderWindow::render() {
    setWindowTitle(form_.caption());
    {
        const QSignalBlocker block(options_);
        if (QAbstractButton* on = options_->button(form_.O()))
            on->setChecked(true);
    }
    setTextIfDifferent(t1_, form_.T1());
    setTextIfDifferent(t2_, form_.T2());
    setTextIfDifferent(text1_, form_.Text1());
    {
        const QSignalBlocker block1(check1_);
        const QSignalBlocker block2(check2_);
        const QSignalBlocker block3(check3_);
        const QSignalBlocker blockSpin(spin1_);
        check1_->setChecked(form_.Check1());
        check2_->setChecked(form_.Check2());
        check3_->setChecked(form_.Check3());
        spin1_->setValue(form_.Spin1());
    }
    check1_->setEnabled(form_.Check1Enabled());
    spin1_->setEnabled(form_.Spin1Enabled());
    text1_->setEnabled(form_.Text1Enabled());
    const QPalette standard = QApplication::palette(text1_);
    const QColor back = form_.Text1BackColor() == FmContent::BackColor::WindowBackground
                            ? standard.color(QPalette::Active, QPalette::Base)
                            : standard.color(QPalette::Active, QPalette::Window);
    QPalette palette = text1_->palette();
    palette.setColor(QPalette::Base, back);
    text1_->setPalette(palette);
}

void NavBuilderWindow::followVisible(bool visible) {
    if (visible == isVisible())
        return;
    if (visible)
        bringToFront();
    else
        hide();
}

void NavBuilderWindow::bringToFront() {
    show();
    raise();
    activateWindow();
}

// Esc and the cancel button do the same.
void NavBuilderWindow::reject() {
    form_.CmdCancel_Click();
}

// The close box only hides: the window and its settings stay for the whole run.
void NavBuilderWindow::closeEvent(QCloseEvent* event) {
    form_.setVisible(false);
    hide();
    event->accept();
}

void NavBuilderWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        form_.setVisible(true);
}

} // namespace folvane
