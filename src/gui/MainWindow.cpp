#include "gui/MainWindow.h"

#include "app/FmCHM.h"
#include "gui/AboutWindow.h"
#include "gui/DepthIndentDelegate.h"
#include "gui/ListBoxView.h"
#include "gui/NavBuilderWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/ProgressWindow.h"
#include "gui/Twips.h"
#include "host/KeyCodes.h"
#include "navbuilder/FmContent.h"
#include "project/FmOption.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>

#include <utility>

namespace folvane {

namespace {
constexpr int kClientWidth = 9225;
constexpr int kClientHeight = 7395;
const QString kComTooltip = QStringLiteral("同时按Ctrl可加速");
} // namespace

MainWindow::MainWindow(FmCHM& form, Host& host, QWidget* parent) : QMainWindow(parent), form_(form), host_(host) {
    setObjectName(QStringLiteral("FmCHM"));
    setWindowTitle(QStringLiteral("Folvane - Simple CHM Maker"));
    auto* client = new QWidget(this);
    client->setFixedSize(pixelsFromTwips(QSize(kClientWidth, kClientHeight)));
    setCentralWidget(client);
    buildControls(client);
    buildMenus();
    wireTocList(l0_, 0);
    wireTocList(l1_, 1);
    wireFileList();
    wireDialogs();
    setTabOrder();
    fitClientArea(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(&form_, &FmCHM::showRequested, this, &QWidget::show);
    connect(&form_, &FmCHM::labChanged, lab_, &QLabel::setText);
    connect(&form_, &FmCHM::check1Changed, check1_, &QCheckBox::setChecked);
    connect(&form_, &FmCHM::check1Changed, dragSort_, &QAction::setChecked);
    connect(&form_, &FmCHM::hhpRegCheckedChanged, hhpReg_, &QAction::setChecked);
    connect(&form_, &FmCHM::listFocusRequested, this, [this](int index) { tocList(index)->setFocus(); });
    ProgressWindow::follow(form_.progress());
}

QPushButton* MainWindow::button(QWidget* client, const QString& name, const QString& caption, const QRect& twips) {
    auto* b = place(new QPushButton(caption, client), name, twips.x(), twips.y(), twips.width(), twips.height());
    // Reached by Tab, but a click leaves the focus in the list whose entries it moves.
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

void MainWindow::buildControls(QWidget* client) {
    const QStringList cmdCaptions = {QStringLiteral("添文件"), QStringLiteral("添文件夹"), QStringLiteral("编译设置"),
                                     QStringLiteral("编译")};
    const QList<QRect> cmdRects = {{0, 0, 885, 345}, {870, 0, 885, 345}, {1740, 0, 1005, 345}, {2730, 0, 1005, 345}};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = button(client, QStringLiteral("Cmd%1").arg(i), cmdCaptions[i], cmdRects[i]);
        connect(b, &QPushButton::clicked, this, [this, i] { form_.Cmd_Click(i); });
    }
    connect(button(client, QStringLiteral("Command1"), QStringLiteral("+文件夹"), {4950, 15, 825, 330}),
            &QPushButton::clicked, this, [this] { form_.Command1_Click(); });
    connect(button(client, QStringLiteral("Command4"), QStringLiteral("替换"), {6375, 0, 675, 345}),
            &QPushButton::clicked, this, [this] { form_.Command4_Click(); });

    QFont comFont(QStringLiteral("SimSun"));
    comFont.setFamilies(
        {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    comFont.setPointSize(9);
    comFont.setBold(true);
    const QStringList arrows = {QStringLiteral("→"), QStringLiteral("←"), QStringLiteral("↑"), QStringLiteral("↓")};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = button(client, QStringLiteral("Com%1").arg(i), arrows[i], {7110 + 480 * i, 0, 495, 345});
        b->setFont(comFont);
        b->setToolTip(kComTooltip);
        connect(b, &QPushButton::clicked, this, [this, i] { form_.Com_Click(i); });
    }

    place(new QLabel(QStringLiteral("待编译的文件(For HHP):"), client), "Label1", 90, 390, 2295, 225);
    place(new QLabel(QStringLiteral("目录导航内容(For HHC):"), client), "Label2", 4920, 390, 2115, 255);

    lf_ = place(new ListBoxView(form_.project().selectableLF(), client), "LF", 60, 630, 4290, 6540);
    lf_->setFocusPolicy(Qt::StrongFocus);
    lf_->showWholeEntries();

    connect(button(client, QStringLiteral("Command2"), QStringLiteral("==>"), {4350, 1320, 585, 405}),
            &QPushButton::clicked, this, [this] { form_.Command2_Click(); });

    l1_ = place(new ListBoxView(form_.L(1), client), "L1", 4920, 630, 4140, 6540);
    l0_ = place(new ListBoxView(form_.L(0), client), "L0", 4920, 630, 4140, 6540);
    lab_ = place(new QLabel(client), "Lab", 45, 7185, 4290, 240);
    lab_->setStyleSheet(QStringLiteral("color: blue;"));

    connect(button(client, QStringLiteral("Command3"), QStringLiteral("匹配选择"), {5700, 7140, 1425, 315}),
            &QPushButton::clicked, this, [this] { form_.Command3_Click(); });

    check1_ = place(new QCheckBox(QStringLiteral("拖动排序,不能多选"), client), "Check1", 7170, 7170, 1875, 255);
    check1_->setFocusPolicy(Qt::TabFocus);
    connect(check1_, &QCheckBox::toggled, this, [this](bool on) { form_.setCheck1(on); });
}

// The bottom row reaches a little past the designed client area; grow it so that row
// is not cut off.
void MainWindow::fitClientArea(QWidget* client) {
    int bottom = client->height();
    for (QWidget* child : client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        bottom = qMax(bottom, child->geometry().bottom() + 3);
    client->setFixedSize(client->width(), bottom);
}

// Every command of the window, buttons included, has an entry with an access key. A key that
// only works inside the contents list (Tab, Enter, Delete) is shown after a tab in the
// caption: as a shortcut of the whole window it would take the key from the other controls.
void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->setObjectName(QStringLiteral("file"));
    auto add = [this](QMenu* menu, const QString& name, const QString& caption, auto handler,
                      const QString& shortcut = {}) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        if (!shortcut.isEmpty())
            a->setShortcut(QKeySequence(shortcut));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    add(
        file, QStringLiteral("newf"), QStringLiteral("新建项目(&N)"), [this] { form_.newf_Click(); },
        QStringLiteral("Ctrl+N"));
    add(
        file, QStringLiteral("openProj"), QStringLiteral("打开项目(&P)..."), [this] { form_.openProj_Click(); },
        QStringLiteral("Ctrl+O"));
    add(
        file, QStringLiteral("Save"), QStringLiteral("保存项目(&S)"), [this] { form_.Save_Click(); },
        QStringLiteral("Ctrl+S"));
    file->addSeparator();
    add(file, QStringLiteral("addFiles"), QStringLiteral("添文件(&A)..."), [this] { form_.Cmd_Click(0); });
    add(file, QStringLiteral("addFolder"), QStringLiteral("添文件夹(&D)..."), [this] { form_.Cmd_Click(1); });
    file->addSeparator();
    add(
        file, QStringLiteral("options"), QStringLiteral("编译设置(&T)..."), [this] { form_.Cmd_Click(2); },
        QStringLiteral("Ctrl+T"));
    add(
        file, QStringLiteral("open"), QStringLiteral("编译为CHM(&O)"), [this] { form_.open_Click(); },
        QStringLiteral("F9"));
    file->addSeparator();
    add(
        file, QStringLiteral("quit"), QStringLiteral("退出(&X)"), [this] { close(); }, QStringLiteral("Ctrl+Q"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    edit->setObjectName(QStringLiteral("Edit"));
    add(
        edit, QStringLiteral("navBuilder"), QStringLiteral("导航栏制作(&B)..."), [this] { form_.Command2_Click(); },
        QStringLiteral("Ctrl+B"));
    edit->addSeparator();
    add(edit, QStringLiteral("RtIt"), QStringLiteral("右移(&R)\tTab"), [this] { form_.Com_Click(0); });
    add(edit, QStringLiteral("LtIt"), QStringLiteral("左移(&L)\tShift+Tab"), [this] { form_.Com_Click(1); });
    // Held down, a key repeats by itself: its shortcut runs one pass, the menu the repeating command.
    QAction* up = add(
        edit, QStringLiteral("Upit"), QStringLiteral("上移(&U)"), [this] { moveEntries(2); },
        QStringLiteral("Ctrl+Up"));
    QAction* down = add(
        edit, QStringLiteral("DnIt"), QStringLiteral("下移(&D)"), [this] { moveEntries(3); },
        QStringLiteral("Ctrl+Down"));
    up->installEventFilter(this);
    down->installEventFilter(this);
    add(
        edit, QStringLiteral("rename"), QStringLiteral("重命名(&N)..."), [this] { form_.RenameEntry(form_.lbIndex()); },
        QStringLiteral("F2"));
    add(edit, QStringLiteral("setHome"), QStringLiteral("设为首页(&H)\tEnter"),
        [this] { form_.L_DblClick(form_.lbIndex()); });
    add(edit, QStringLiteral("deleteEntries"), QStringLiteral("删除(&E)\tDel"), [this] {
        int key = KeyCode::Delete;
        form_.L_KeyDown(form_.lbIndex(), key, 0);
    });
    edit->addSeparator();
    add(edit, QStringLiteral("insertFolder"), QStringLiteral("+文件夹(&F)..."), [this] { form_.Command1_Click(); });
    add(
        edit, QStringLiteral("replace"), QStringLiteral("替换(&P)..."), [this] { form_.Command4_Click(); },
        QStringLiteral("Ctrl+H"));
    add(
        edit, QStringLiteral("matchSelect"), QStringLiteral("匹配选择(&M)..."), [this] { form_.Command3_Click(); },
        QStringLiteral("Ctrl+M"));
    dragSort_ = add(edit, QStringLiteral("dragSort"), QStringLiteral("拖动排序(&G)"),
                    [this] { form_.setCheck1(dragSort_->isChecked()); });
    dragSort_->setCheckable(true);
    edit->addSeparator()->setObjectName(QStringLiteral("zdzdf"));
    hhpReg_ = add(edit, QStringLiteral("mnHhpReg"), QStringLiteral("hhp文件右键编译(&K)"),
                  [this] { form_.mnHhpReg_Click(); });
    hhpReg_->setCheckable(true);
    // The form flips the check mark itself.
    connect(hhpReg_, &QAction::triggered, hhpReg_, [this] { hhpReg_->setChecked(form_.mnHhpRegChecked()); });

    QAction* about = menuBar()->addAction(QStringLiteral("关于(&A).."));
    about->setObjectName(QStringLiteral("abt"));
    connect(about, &QAction::triggered, this, [this] { form_.abt_Click(); });
}

void MainWindow::wireTocList(ListBoxView* view, int index) {
    view->setTabKeysToHandler(true);
    view->setItemDelegate(new DepthIndentDelegate(view));
    connect(view, &ListBoxView::keyDown, this,
            [this, index](int& keyCode, int shift) { form_.L_KeyDown(index, keyCode, shift); });
    connect(view, &ListBoxView::keyPress, this, [this, index](int& keyAscii) { form_.L_KeyPress(index, keyAscii); });
    connect(view, &ListBoxView::mouseDown, this,
            [this, index](int button, int shift) { form_.L_MouseDown(index, button, shift); });
    connect(view, &ListBoxView::mouseMove, this,
            [this, index](int button, int shift) { form_.L_MouseMove(index, button, shift); });
    connect(view, &ListBoxView::mouseUp, this,
            [this, index](int button, int shift) { form_.L_MouseUp(index, button, shift); });
    connect(view, &ListBoxView::entryClicked, this, [this, index] { form_.L_Click(index); });
    connect(view, &ListBoxView::entryDoubleClicked, this, [this, index] { form_.L_DblClick(index); });
}

void MainWindow::wireFileList() {
    lf_->setAcceptsFileDrops(true);
    connect(lf_, &ListBoxView::keyDown, this, [this](int& keyCode, int shift) { form_.LF_KeyDown(keyCode, shift); });
    connect(lf_, &ListBoxView::entryClicked, this, [this] { form_.LF_Click(); });
    connect(lf_, &ListBoxView::filesDropped, this, [this](const QStringList& paths) { form_.LF_OLEDragDrop(paths); });
}

void MainWindow::wireDialogs() {
    connect(&form_, &FmCHM::fmOptionLoaded, this, [this](FmOption* options) { showOptionsWindow(options, false); });
    connect(&form_, &FmCHM::showOptionsRequested, this, [this] { showOptionsWindow(&form_.fmOption(), true); });
    // The navigation builder's window lives as long as its form: for the whole run.
    connect(&form_, &FmCHM::fmContentLoaded, this,
            [this](FmContent* content) { new NavBuilderWindow(*content, this); });
    connect(&form_, &FmCHM::showAboutRequested, this, [this] { AboutWindow::showModal(host_, this); });
}

void MainWindow::showOptionsWindow(FmOption* options, bool show) {
    auto* window = findChild<OptionsWindow*>();
    if (!window) {
        window = new OptionsWindow(*options, this);
        window->move(frameGeometry().center() - window->rect().center());
    }
    if (show) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

// The order the controls are read in: the top row from left to right, the file list, "==>",
// the contents and the bottom row.
void MainWindow::setTabOrder() {
    const QStringList order = {
        QStringLiteral("Cmd0"),     QStringLiteral("Cmd1"),     QStringLiteral("Cmd2"),     QStringLiteral("Cmd3"),
        QStringLiteral("Command1"), QStringLiteral("Command4"), QStringLiteral("Com0"),     QStringLiteral("Com1"),
        QStringLiteral("Com2"),     QStringLiteral("Com3"),     QStringLiteral("LF"),       QStringLiteral("Command2"),
        QStringLiteral("L1"),       QStringLiteral("L0"),       QStringLiteral("Command3"), QStringLiteral("Check1")};
    QWidget* previous = nullptr;
    for (const QString& name : order) {
        auto* w = findChild<QWidget*>(name);
        if (previous && w)
            QWidget::setTabOrder(previous, w);
        if (w)
            previous = w;
    }
}

void MainWindow::moveEntries(int index) {
    if (std::exchange(moveByShortcut_, false))
        form_.Com_Step(index);
    else
        form_.Com_Click(index);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut && qobject_cast<QAction*>(watched))
        moveByShortcut_ = true;
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Unsaved changes are asked about first; 取消 (or a save that failed) keeps the window.
    if (!form_.Form_QueryUnload()) {
        event->ignore();
        return;
    }
    event->accept();
    QApplication::closeAllWindows();
    QApplication::quit();
}

} // namespace folvane
