#include "gui/OptionsWindow.h"

#include "gui/ListBoxModel.h"
#include "gui/Twips.h"
#include "project/FmOption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace folvane {

namespace {
constexpr int kFieldColumnTwips = 870;

void setTextKeepingCursor(QLineEdit* edit, const QString& text) {
    if (edit->text() != text)
        edit->setText(text);
}
} // namespace

OptionsWindow::OptionsWindow(FmOption& form, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      form_(form) {
    setObjectName(QStringLiteral("FmOption"));
    setWindowTitle(QStringLiteral("编译设置"));
    setFixedSize(pixelsFromTwips(QSize(6195, 1740)));
    buildControls();
    fitCaptions();
    render();
    connect(&form_, &FmOption::changed, this, &OptionsWindow::render);
    // The form may go without the window closing (a new main form in tests): follow it.
    connect(&form_, &QObject::destroyed, this, &QWidget::deleteLater);
}

void OptionsWindow::buildControls() {
    place(new QLabel(QStringLiteral("CHM文件:"), this), QStringLiteral("Label1"), 90, 120, 825, 225);
    chmFN_ = place(new QLineEdit(this), QStringLiteral("chmFN"), 870, 60, 2805, 285);
    auto* browse = place(new QPushButton(QStringLiteral("..."), this), QStringLiteral("Command1"), 3660, 60, 285, 255);
    place(new QLabel(QStringLiteral("CHM首页:"), this), QStringLiteral("Label2"), 90, 390, 825, 225);
    co1_ = place(new QComboBox(this), QStringLiteral("Co1"), 870, 330, 3075, 300);
    co1_->setEditable(true);
    co1_->setInsertPolicy(QComboBox::NoInsert);
    co1_->setModel(new ListBoxModel(form_.Co1(), co1_));
    place(new QLabel(QStringLiteral("CHM标题:"), this), QStringLiteral("Label3"), 90, 660, 825, 225);
    chmTt_ = place(new QLineEdit(this), QStringLiteral("chmTt"), 870, 630, 2805, 285);
    ch1_ =
        place(new QCheckBox(QStringLiteral("CHM打开时不显示导航栏"), this), QStringLiteral("Ch1"), 90, 990, 2445, 255);
    auto* save = place(new QPushButton(QStringLiteral("保存"), this), QStringLiteral("Command3"), 4410, 90, 1485, 375);
    auto* saveCompile =
        place(new QPushButton(QStringLiteral("保存并编译"), this), QStringLiteral("Command2"), 4410, 600, 1485, 375);
    lab_ = place(new QLabel(this), QStringLiteral("Lab"), 120, 1500, 4305, 255);

    connect(chmFN_, &QLineEdit::textEdited, &form_, &FmOption::setChmFN);
    connect(chmTt_, &QLineEdit::textEdited, &form_, &FmOption::setChmTt);
    connect(co1_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (text != form_.co1Text())
            form_.setCo1Text(text);
    });
    connect(ch1_, &QCheckBox::toggled, &form_, &FmOption::setCh1);
    connect(browse, &QPushButton::clicked, &form_, &FmOption::Command1_Click);
    connect(save, &QPushButton::clicked, &form_, &FmOption::Command3_Click);
    connect(saveCompile, &QPushButton::clicked, &form_, &FmOption::Command2_Click);
}

// The captions were laid out for a narrower font: where one needs more room, everything
// to its right moves over and the window grows by the same amount.
void OptionsWindow::fitCaptions() {
    const int fieldColumn = pixelsFromTwips(kFieldColumnTwips);
    int overflow = 0;
    for (const char* name : {"Label1", "Label2", "Label3"}) {
        auto* label = findChild<QLabel*>(QString::fromLatin1(name));
        const int needed = label->sizeHint().width() + 2;
        label->resize(qMax(label->width(), needed), label->height());
        overflow = qMax(overflow, label->x() + needed - fieldColumn);
    }
    if (overflow <= 0)
        return;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->x() >= fieldColumn)
            child->move(child->x() + overflow, child->y());
    }
    setFixedSize(width() + overflow, height());
}

void OptionsWindow::render() {
    setTextKeepingCursor(chmFN_, form_.chmFN());
    setTextKeepingCursor(chmTt_, form_.chmTt());
    if (co1_->currentText() != form_.co1Text())
        co1_->setEditText(form_.co1Text());
    ch1_->setChecked(form_.Ch1());
    lab_->setText(form_.Lab());
}

void OptionsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace folvane
