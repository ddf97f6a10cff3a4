#pragma once

#include "document/Project.h"

#include <QObject>
#include <QString>

#include <memory>

namespace folvane {

class FmContent;
class FmOption;
class Host;
class ProgressDriver;

// The main window's form: the one open project and every command of the window.
// The view renders its state and forwards the user's events to the handlers below.
class FmCHM : public QObject {
    Q_OBJECT
public:
    explicit FmCHM(Host& host, PathStyle style = nativePathStyle(), QObject* parent = nullptr);
    ~FmCHM() override;

private:
    Project project_; // before the names below, which refer into it

public:
    Project& project() { return project_; }
    const Project& project() const { return project_; }

    // The project's state under the names the handlers use.
    const ListBox& LF;
    ListBox& L(int index) { return project_.L(index); }
    const ListBox& L(int index) const { return project_.L(index); }
    ListBox& LB() { return project_.LB(); }
    const ListBox& LB() const { return project_.LB(); }
    int lbIndex() const { return project_.lbIndex(); }
    const QString& ComparePath;
    const bool& SavedFlag;
    const int& SavedCount;
    const QSet<QString>& FolderSet;
    int DragIndex = 0;

    const QString& Lab() const { return lab_; }
    void setLab(const QString& caption);
    bool Check1() const { return check1_; }
    bool mnHhpRegChecked() const { return hhpRegChecked_; }

    Host& host() { return host_; }
    ProgressDriver& progress() { return *progress_; }

    // Dialog forms, created on first use.
    FmOption& fmOption();
    FmOption* loadedFmOption() { return options_.get(); }
    void unloadFmOption();
    FmContent& fmContent();

    // Start-up and closing: whether the window may close, asking to save what is unsaved.
    void Form_Load();
    bool Form_QueryUnload();

    // Buttons and menus.
    void Cmd_Click(int Index);
    void Command1_Click(); // "+文件夹"
    void Command2_Click(); // "==>"
    void Command3_Click(); // "匹配选择"
    void Command4_Click(); // "替换"
    void Com_Click(int Index);
    // One pass of Com_Click without the repetition: for keys, which repeat by themselves.
    void Com_Step(int Index);
    void setCheck1(bool checked); // runs Check1_Click when the value changes
    void Check1_Click();
    void newf_Click();
    void openProj_Click(); // "打开项目(&P)..."
    void Save_Click();
    void open_Click();
    void mnHhpReg_Click();
    void abt_Click();

    // TOC list events (Index says which list).
    void L_KeyDown(int Index, int& KeyCode, int Shift);
    void L_KeyPress(int Index, int& KeyAscii);
    void L_MouseDown(int Index, int Button, int Shift);
    void L_MouseMove(int Index, int Button, int Shift);
    void L_MouseUp(int Index, int Button, int Shift);
    void L_Click(int Index);
    void L_DblClick(int Index);
    // Asks for a new title of the current entry of L(Index); the entry keeps its depth.
    void RenameEntry(int Index);

    // File list events.
    void LF_OLEDragDrop(const QStringList& droppedPaths);
    void LF_KeyDown(int& KeyCode, int Shift);
    void LF_Click();

    // Public members the dialogs call.
    // True when both files were written.
    bool SaveIt();
    void CopyList(ListBox& SrcL, ListBox& DesL, bool ClearSrc, const QStringList& Find_ReplaceStr = {});
    void FoldIt_Click();
    void OpenOptions();
    // 0 when saved, else the answer: 6 Yes (saved), 7 No, 2 Cancel (also when the save failed).
    int AskToSave();
    // Loads a saved project: its lists, its folder and its compile settings; it counts as saved.
    // False, with a message and nothing changed, when it cannot be read.
    bool OpenProject(const QString& projectFile);

    // The full paths of the project and contents files.
    QString projectFilePath() const;
    QString contentsFilePath() const;

signals:
    void labChanged(const QString& caption);
    void check1Changed(bool checked);
    void lbChanged(int index);
    void hhpRegCheckedChanged(bool checked);
    void showRequested();
    void showOptionsRequested();
    void showNavBuilderRequested();
    void showAboutRequested();
    void fmOptionLoaded(folvane::FmOption* form);
    void fmContentLoaded(folvane::FmContent* form);
    void listFocusRequested(int index);

private:
    QString browseForProjectFolder();
    // outputFolders: where an earlier project's own files are left out of what is added.
    void addFiles(const QString& folder, const QString& pattern, const QStringList& outputFolders = {});
    void reportOwnOutput(const QStringList& leftOut);
    void addFolder();
    void addFolderFiles(const QString& folder);
    void compile(bool replaceAnyOutput = false);
    // Whether to compile when no home page is set: asked once for a project.
    bool goOnWithoutHomePage();
    void setProjectFolder(const QString& folder);
    void showError(const QString& description);

    Host& host_;
    PathStyle style_;
    QString lab_;
    bool check1_ = false;
    bool hhpRegChecked_ = false;
    bool homePageWaived_ = false;
    std::unique_ptr<ProgressDriver> progress_;
    std::unique_ptr<FmOption> options_;
    std::unique_ptr<FmContent> content_;
};

} // namespace folvane
