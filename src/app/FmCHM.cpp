#include "app/FmCHM.h"

#include "document/ProjectFileNames.h"
#include "files/Dialogs.h"
#include "files/FileSelection.h"
#include "files/PatternMatch.h"
#include "forms/ProgressDriver.h"
#include "host/Host.h"
#include "host/KeyCodes.h"
#include "navbuilder/FmContent.h"
#include "project/CompilerCommand.h"
#include "project/FmOption.h"
#include "project/HhcWriter.h"
#include "project/HhpRegistration.h"
#include "project/HhpWriter.h"
#include "project/ProjectOpening.h"
#include "toc/CopyList.h"
#include "toc/FileMarker.h"
#include "toc/FolderHierarchy.h"
#include "toc/TocEditing.h"
#include "util/KeyState.h"
#include "util/PathJoin.h"
#include "util/Paths.h"
#include "util/RuntimeError.h"
#include "util/TextFile.h"

#include <QFileInfo>

namespace folvane {

namespace {

const QString kLastProjectFolderKey = QStringLiteral("lastProjectFolder");

// Pages below the project folder are offered relative to it. Only a whole leading folder
// goes: replacing every occurrence would also cut it out deeper in a path, and with no
// project folder would remove every separator.
void dropLeadingFolder(ListBox& list, const QString& folder, PathStyle style) {
    ListBox::Batch update(list);
    for (int i = 0; i < list.count(); ++i) {
        const QString below = stripLeadingFolder(list.text(i), folder, style);
        if (!below.isEmpty() && isInFolder(list.text(i), folder, style))
            list.setText(i, below.mid(1));
    }
}
} // namespace

FmCHM::FmCHM(Host& host, PathStyle style, QObject* parent)
    : QObject(parent), project_(style), LF(project_.LF()), ComparePath(project_.ComparePath()),
      SavedFlag(project_.SavedFlag()), SavedCount(project_.SavedCount()), FolderSet(project_.FolderSet()), host_(host),
      style_(style), progress_(std::make_unique<ProgressDriver>(host)) {}

FmCHM::~FmCHM() = default;

void FmCHM::setLab(const QString& caption) {
    lab_ = caption;
    emit labChanged(lab_);
}

void FmCHM::showError(const QString& description) {
    host_.messageBox(description, MsgButtons::OkOnly, MsgIcon::Critical);
}

FmOption& FmCHM::fmOption() {
    if (!options_) {
        options_ = std::make_unique<FmOption>(project_, host_);
        connect(options_.get(), &FmOption::saveRequested, this, [this] {
            const bool saved = SaveIt();
            if (options_)
                options_->showSaved(saved);
        });
        connect(options_.get(), &FmOption::compileRequested, this, [this](bool replaceAny) { compile(replaceAny); });
        emit fmOptionLoaded(options_.get());
    }
    return *options_;
}

FmContent& FmCHM::fmContent() {
    if (!content_) {
        content_ = std::make_unique<FmContent>(project_, host_);
        // The settings form may come and go; its home page is read when the builder runs.
        content_->setHomePageSource([this] { return options_ ? options_->co1Text() : QString(); });
        connect(this, &FmCHM::showNavBuilderRequested, content_.get(), &FmContent::Show);
        emit fmContentLoaded(content_.get());
    }
    return *content_;
}

void FmCHM::unloadFmOption() {
    options_.reset();
}

QString FmCHM::projectFilePath() const {
    return joinPath(ComparePath, projectFileName(), style_);
}

QString FmCHM::contentsFilePath() const {
    return joinPath(ComparePath, contentsFileName(), style_);
}

// ---- start-up and project state ----

void FmCHM::Form_Load() {
    project_.setLbIndex(1);
    // The folder chooser starts where the last project was.
    const QString last = host_.recall(kLastProjectFolderKey);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        project_.dialogs().LastFolder = last;
    hhpRegChecked_ = HhpRegistration(host_, style_).checkedAtStart();
    emit hhpRegCheckedChanged(hhpRegChecked_);
    emit showRequested();
    // The add-folder command, with one question between choosing and scanning.
    const QString folder = browseForProjectFolder();
    const QString existing = folder.isEmpty() ? QString() : joinPath(folder, projectFileName(), style_);
    const bool opened =
        !existing.isEmpty() && QFileInfo(existing).isFile() &&
        host_.messageBox(QStringLiteral("该文件夹中已有项目,要打开它吗?"), MsgButtons::YesNo, MsgIcon::Question, 0,
                         QString(), MsgMeaning::OpenExistingProject) == MsgResult::Yes &&
        OpenProject(existing);
    // A project that cannot be opened leaves the folder to be added as always.
    if (!opened)
        addFolderFiles(folder);
    project_.markSaved();
}

int FmCHM::AskToSave() {
    if (project_.isSaved())
        return 0;
    int answer = MsgResult::No;
    if (!ComparePath.isEmpty())
        answer = host_.messageBox(QStringLiteral("你的文档还没保存,要保存吗？"), MsgButtons::YesNoCancel, MsgIcon::None,
                                  0, QStringLiteral("保存文档吗?"));
    // What could not be saved must not be thrown away: a failed save is a Cancel.
    if (answer == MsgResult::Yes && !SaveIt())
        return MsgResult::Cancel;
    return answer;
}

bool FmCHM::Form_QueryUnload() {
    return AskToSave() != MsgResult::Cancel;
}

// ---- saving ----

bool FmCHM::SaveIt() {
    if (ComparePath.isEmpty()) {
        Cmd_Click(1);
        return false;
    }
    try {
        const ProjectSettings settings = fmOption().settings();
        const QString windowName = windowNameAt(host_.now());
        WriteTextFile(projectFilePath(), buildProjectFile(settings, LF, windowName));
        WriteTextFile(contentsFilePath(), buildContentsFile(LB(), LF, ComparePath, style_));
        project_.markSaved();
        return true;
    } catch (const RuntimeError& e) {
        showError(e.description());
        return false;
    }
}

void FmCHM::CopyList(ListBox& SrcL, ListBox& DesL, bool ClearSrc, const QStringList& Find_ReplaceStr) {
    folvane::CopyList(SrcL, DesL, ClearSrc, Find_ReplaceStr);
}

// ---- buttons and menus ----

void FmCHM::Cmd_Click(int Index) {
    switch (Index) {
    case 0:
        project_.dialogs().LastFolder = ComparePath;
        addFiles(QString(), QString());
        break;
    case 1:
        addFolder();
        break;
    case 2:
        OpenOptions();
        break;
    case 3:
        compile();
        break;
    default:
        break;
    }
}

QString FmCHM::browseForProjectFolder() {
    return project_.browseForFolder(host_, QStringLiteral("请选择要编译为CHM的文件夹:"));
}

void FmCHM::addFiles(const QString& folder, const QString& pattern, const QStringList& outputFolders) {
    QStringList leftOut;
    const auto add = [&](QStringList& batch) {
        leftOut = project_.takeOwnOutput(batch, outputFolders);
        project_.addFiles(batch);
    };
    AddFilesToList({host_, project_.dialogs(), *progress_, style_, add}, folder, pattern);
    reportOwnOutput(leftOut);
}

void FmCHM::reportOwnOutput(const QStringList& leftOut) {
    if (!leftOut.isEmpty())
        host_.messageBox(
            pathListMessage(QStringLiteral("以下文件是以前生成的项目文件或帮助文件，没有加入文件列表："), leftOut),
            MsgButtons::OkOnly, MsgIcon::Information, 0, QString(), MsgMeaning::ItemSkipped);
}

void FmCHM::addFolder() {
    addFolderFiles(browseForProjectFolder());
}

void FmCHM::addFolderFiles(const QString& folder) {
    if (folder.isEmpty())
        return;
    const bool becomesProjectFolder = ComparePath.isEmpty() || isWithinChosenFolder(ComparePath, folder, style_);
    // What an earlier project wrote into the project folder (or into the one it widens) is
    // not a page of this one.
    addFiles(folder, QStringLiteral("*.*"), {becomesProjectFolder ? folder : ComparePath, ComparePath});
    // Asked again: a new project handled during the scan may have emptied the project folder.
    if (ComparePath.isEmpty() || isWithinChosenFolder(ComparePath, folder, style_))
        setProjectFolder(folder);
}

void FmCHM::setProjectFolder(const QString& folder) {
    project_.setComparePath(folder);
    host_.remember(kLastProjectFolderKey, folder);
}

void FmCHM::compile(bool replaceAnyOutput) {
    if (ComparePath.isEmpty()) {
        host_.messageBox(QStringLiteral("还没有项目：请先用“添文件夹”选择要编译为CHM的文件夹。"), MsgButtons::OkOnly,
                         MsgIcon::Information);
        return;
    }
    const QString project = projectFilePath();
    if (!QFileInfo(project).isFile()) {
        host_.messageBox(
            QStringLiteral("项目还没有保存，没有可编译的项目文件 %1。\r\n请先保存项目（“文件”菜单的“保存项目”，"
                           "Ctrl+S），或在“编译设置”中按“保存并编译”。")
                .arg(project),
            MsgButtons::OkOnly, MsgIcon::Information);
        return;
    }
    if (!goOnWithoutHomePage())
        return;
    CompilerCommand command(host_.programFolder(), style_);
    // Only the user's yes to replacing a file that is not a help file adds an option.
    command.setReplaceAnyOutput(replaceAnyOutput);
    // On Linux the compiler's output opens in a window of its own, in the middle of this one.
    if (style_ == PathStyle::Posix)
        command.showWindow(host_.programWindowFrame());
    host_.startChild(command.program(), command.arguments(project), command.commandLine(project));
}

bool FmCHM::goOnWithoutHomePage() {
    if (homePageWaived_ || !fmOption().co1Text().trimmed().isEmpty())
        return true;
    const int answer =
        host_.messageBox(QStringLiteral("没有设置CHM首页，帮助文件打开时将是一个空白页。\r\n仍要编译吗？"),
                         MsgButtons::YesNo, MsgIcon::Question);
    homePageWaived_ = answer == MsgResult::Yes;
    if (!homePageWaived_)
        OpenOptions();
    return homePageWaived_;
}

void FmCHM::OpenOptions() {
    FmOption& options = fmOption();
    if (options.chmFN().isEmpty()) {
        // A proposal, not an edit: the user has not changed anything yet.
        Project::KeepSaved keep(project_);
        options.setChmFN(joinPath(ComparePath, defaultOutputFileName(), style_));
    }
    const QString home = options.co1Text();
    copyEntries(LF, options.Co1(), {QStringLiteral("\t"), QString()});
    dropLeadingFolder(options.Co1(), ComparePath, style_);
    options.setCo1Text(home);
    emit showOptionsRequested();
}

void FmCHM::newf_Click() {
    if (AskToSave() == MsgResult::Cancel)
        return;
    project_.clear();
    homePageWaived_ = false;
    Cmd_Click(1);
    // A folder just listed holds nothing the user shaped yet, as at start-up.
    project_.markSaved();
}

void FmCHM::openProj_Click() {
    if (AskToSave() == MsgResult::Cancel)
        return;
    if (!ComparePath.isEmpty())
        project_.dialogs().LastFolder = joinPath(ComparePath, QString(), style_);
    const QStringList chosen =
        project_.showFileDialog(host_, FileDialogMode::Open, QStringLiteral("项目文件|*.hhp|所有文件|*.*"),
                                QStringLiteral("打开项目"), QStringLiteral("hhp"));
    if (!chosen.isEmpty())
        OpenProject(chosen.constFirst());
}

bool FmCHM::OpenProject(const QString& projectFile) {
    // Everything is read before anything changes: a project that cannot be read leaves
    // the open one as it was.
    OpenedProject opened;
    try {
        opened = openProjectFile(projectFile, style_);
    } catch (const RuntimeError& e) {
        showError(e.description());
        return false;
    }
    project_.clear();
    project_.restore(std::move(opened.fileList), std::move(opened.toc));
    setProjectFolder(opened.folder);
    homePageWaived_ = false;
    FmOption& options = fmOption();
    // The title first: typing it proposes an output file, which the project's then replaces.
    options.setChmTt(opened.settings.title);
    options.setChmFN(opened.settings.outputFile);
    options.setCo1Text(opened.settings.homePage);
    options.setCh1(opened.settings.navigationClosed);
    project_.markSaved();
    if (!opened.leftOut.isEmpty())
        host_.messageBox(leftOutMessage(opened.leftOut), MsgButtons::OkOnly, MsgIcon::Critical, 0, QString(),
                         MsgMeaning::ItemSkipped);
    return true;
}

void FmCHM::Save_Click() {
    SaveIt();
}

void FmCHM::open_Click() {
    Cmd_Click(3);
}

void FmCHM::Command2_Click() {
    fmContent();
    emit showNavBuilderRequested();
}

void FmCHM::mnHhpReg_Click() {
    hhpRegChecked_ = HhpRegistration(host_, style_).apply(!hhpRegChecked_);
    emit hhpRegCheckedChanged(hhpRegChecked_);
}

void FmCHM::abt_Click() {
    emit showAboutRequested();
}

// ---- file list ----

void FmCHM::LF_OLEDragDrop(const QStringList& droppedPaths) {
    QStringList batch = droppedPaths;
    const QStringList leftOut = project_.takeOwnOutput(batch, {ComparePath});
    reportOwnOutput(leftOut);
    if (batch.isEmpty())
        return;
    try {
        project_.addFiles(batch);
    } catch (const RuntimeError& e) {
        showError(e.description());
    }
}

void FmCHM::LF_KeyDown(int& KeyCode, int /*Shift*/) {
    if (KeyCode != KeyCode::Delete || LF.count() <= 1)
        return;
    project_.removeSelectedFiles();
}

void FmCHM::LF_Click() {
    if (LF.isValidIndex(LF.listIndex()))
        setLab(QString::number(LF.itemData(LF.listIndex())));
}

// ---- TOC editing ----

void FmCHM::Com_Click(int Index) {
    // Repeats while Ctrl is held; every pass re-reads the list, which a command handled
    // in between may have changed.
    do {
        Com_Step(Index);
        host_.doEvents();
    } while (IsKeyDown(host_, kVkControl));
}

void FmCHM::Com_Step(int Index) {
    movePass(LB(), Index);
    project_.markEdited();
}

void FmCHM::L_KeyDown(int Index, int& KeyCode, int Shift) {
    ListBox& toc = LB();
    if (KeyCode == KeyCode::Delete && toc.count() > 1) {
        toc.removeSelected();
    } else if (KeyCode == KeyCode::Tab && (Shift == 0 || Shift == 1)) {
        Com_Click(Shift);
        KeyCode = 0;
    } else if (KeyCode == KeyCode::Enter && Shift == 0) {
        L_DblClick(Index);
        KeyCode = 0;
    } else if (KeyCode == KeyCode::F2 && Shift == 0) {
        RenameEntry(project_.lbIndex());
        KeyCode = 0;
    } else if ((KeyCode == KeyCode::Up || KeyCode == KeyCode::Down) && Shift == ShiftMask::Ctrl) {
        // Held down, the key repeats by itself: one pass per press.
        Com_Step(KeyCode == KeyCode::Up ? 2 : 3);
        KeyCode = 0;
    } else if (KeyCode == KeyCode::A && Shift == ShiftMask::Ctrl &&
               toc.selectionMode() == ListBox::Selection::Extended) {
        toc.selectAll();
        emit listFocusRequested(project_.lbIndex());
        KeyCode = 0;
    }
}

void FmCHM::L_KeyPress(int /*Index*/, int& KeyAscii) {
    if (KeyAscii == KeyCode::Tab)
        KeyAscii = 0;
}

void FmCHM::Command1_Click() {
    const ListBox& toc = LB();
    const QString suggestion = toc.isValidIndex(toc.listIndex()) ? toc.text(toc.listIndex()) : QString();
    const QString name = host_.inputBox(QStringLiteral("文件夹名:"), suggestion).value_or(QString());
    if (name.isEmpty())
        return;
    // Re-read: the list may have changed while the box was open.
    ListBox& list = LB();
    const int pos = list.isValidIndex(list.listIndex()) ? list.listIndex() : list.count();
    try {
        list.addItem(name, pos);
        list.setItemData(pos, kNoLink);
    } catch (const RuntimeError& e) {
        showError(e.description());
    }
}

void FmCHM::Command3_Click() {
    const QString patterns =
        host_.inputBox(QStringLiteral("输入匹配字符串:"), QStringLiteral("*.jpg;*.gif;*.css;*.htc"))
            .value_or(QString());
    if (patterns.isEmpty())
        return;
    setCheck1(false);
    ListBox& toc = LB();
    QList<bool> matches;
    matches.reserve(toc.count());
    try {
        for (const ListEntry& e : toc.entries())
            matches.append(MatchesPattern(e.text, patterns));
    } catch (const RuntimeError& e) {
        showError(e.description());
        return;
    }
    {
        ListBox::Batch update(toc);
        for (int i = 0; i < matches.size() && i < toc.count(); ++i)
            toc.setSelected(i, matches[i]);
    }
    emit listFocusRequested(project_.lbIndex());
}

void FmCHM::Command4_Click() {
    auto currentText = [this] {
        const ListBox& toc = LB();
        return toc.isValidIndex(toc.listIndex()) ? toc.text(toc.listIndex()) : QString();
    };
    const QString find = host_.inputBox(QStringLiteral("输入要查找并替换的字符:"), currentText()).value_or(QString());
    if (find.isEmpty())
        return;
    // An empty replacement given with OK deletes the text; Cancel replaces nothing.
    const std::optional<QString> replacement = host_.inputBox(QStringLiteral("替换为:"), currentText());
    if (!replacement)
        return;
    ListBox& toc = LB();
    ListBox::Batch update(toc);
    for (int i = 0; i < toc.count(); ++i)
        toc.setText(i, toc.text(i).replace(find, *replacement, Qt::CaseInsensitive));
}

void FmCHM::FoldIt_Click() {
    try {
        project_.FoldIt();
    } catch (const RuntimeError& e) {
        showError(e.description());
    }
}

// ---- drag-sort, rename, link display, home page ----

void FmCHM::setCheck1(bool checked) {
    if (check1_ == checked)
        return;
    check1_ = checked;
    emit check1Changed(check1_);
    Check1_Click();
}

void FmCHM::Check1_Click() {
    // The entries only move to the other list: nothing a save writes changes.
    Project::KeepSaved keep(project_);
    if (check1_) {
        CopyList(L(1), L(0), true);
        project_.setLbIndex(0);
    } else {
        CopyList(L(0), L(1), true);
        project_.setLbIndex(1);
    }
    L(0).setVisible(check1_);
    L(1).setVisible(!check1_);
    emit lbChanged(project_.lbIndex());
}

void FmCHM::L_MouseDown(int Index, int Button, int /*Shift*/) {
    if (Index == 0 && Button == MouseButton::Left)
        DragIndex = L(0).listIndex();
}

void FmCHM::L_MouseMove(int Index, int Button, int /*Shift*/) {
    if (Index != 0 || Button != MouseButton::Left)
        return;
    const int c = L(0).listIndex();
    if (c == DragIndex || !L(0).isValidIndex(c) || !L(0).isValidIndex(DragIndex))
        return;
    // Text and link travel with the pointer; the selection stays where the pointer is.
    ListBox::Batch update(L(0));
    const QString text = L(0).text(c);
    const qint32 link = L(0).itemData(c);
    L(0).setText(c, L(0).text(DragIndex));
    L(0).setItemData(c, L(0).itemData(DragIndex));
    L(0).setText(DragIndex, text);
    L(0).setItemData(DragIndex, link);
    DragIndex = c;
}

void FmCHM::L_MouseUp(int Index, int Button, int /*Shift*/) {
    if (Button == MouseButton::Right)
        RenameEntry(Index);
}

void FmCHM::RenameEntry(int Index) {
    const ListBox& list = L(Index);
    if (!list.isValidIndex(list.listIndex()))
        return;
    // The depth is not part of the name: the box shows the title, and the entry keeps its place.
    const QString current = list.text(list.listIndex());
    const std::optional<QString> answer = host_.inputBox(QStringLiteral("更改为:"), current.mid(lineDepth(current)));
    if (!answer || answer->isEmpty())
        return;
    // Re-read: the list may have changed while the box was open.
    ListBox& target = L(Index);
    const int at = target.listIndex();
    if (!target.isValidIndex(at))
        return;
    const QString title = answer->mid(lineDepth(*answer));
    target.setText(at, QString(lineDepth(target.text(at)), u' ') + title);
}

void FmCHM::L_Click(int Index) {
    const ListBox& list = L(Index);
    if (list.isValidIndex(list.listIndex()))
        setLab(QString::number(list.itemData(list.listIndex())));
}

void FmCHM::L_DblClick(int /*Index*/) {
    const ListBox& toc = LB();
    const bool hasLink = toc.isValidIndex(toc.listIndex());
    const qint32 link = hasLink ? toc.itemData(toc.listIndex()) : kNoLink;
    // Each step on its own: a folder node has no page, but the file list still loses
    // its old selection.
    if (hasLink && LF.isValidIndex(link))
        fmOption().setCo1Text(stripLeadingFolder(LF.text(link), ComparePath, style_));
    ListBox& files = project_.selectableLF();
    if (files.isValidIndex(files.listIndex()))
        files.setSelected(files.listIndex(), false);
    if (hasLink && files.isValidIndex(link)) {
        files.setSelected(link, true);
        files.setListIndex(link);
    }
}

// ---- dialogs ----

} // namespace folvane
