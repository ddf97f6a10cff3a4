#pragma once

#include "files/DialogMemory.h"
#include "toc/ListBox.h"
#include "util/PathStyle.h"

#include <QSet>
#include <QString>

namespace folvane {

class Host;

// The one open project: its file list, its two contents lists and the one in use, its
// folder, the folders already made entries, whether it is saved, and where the file
// dialogs last were. The main form and the forms of its dialogs work on it.
class Project {
public:
    explicit Project(PathStyle style);
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    const ListBox& LF() const { return lf_; }
    // For selecting in the file list (its view, a double click): its entries change only
    // through the operations below, which keep the contents linked.
    ListBox& selectableLF() { return lf_; }
    ListBox& L(int index) { return index == 0 ? l0_ : l1_; }
    const ListBox& L(int index) const { return index == 0 ? l0_ : l1_; }
    ListBox& LB() { return L(lbIndex_); }
    const ListBox& LB() const { return L(lbIndex_); }
    int lbIndex() const { return lbIndex_; }
    void setLbIndex(int index) { lbIndex_ = index; }
    const QString& ComparePath() const { return comparePath_; }
    void setComparePath(const QString& folder) { comparePath_ = folder; }
    const QSet<QString>& FolderSet() const { return folderSet_; }

    // Saved: nothing that a save writes changed since the last save. Every edit of the lists
    // clears it, and the compile settings clear it themselves.
    const bool& SavedFlag() const { return savedFlag_; }
    const int& SavedCount() const { return savedCount_; }
    bool isSaved() const { return savedFlag_ && LB().count() == savedCount_; }
    void markSaved() {
        savedFlag_ = true;
        savedCount_ = LB().count();
    }
    void markEdited() { savedFlag_ = false; }
    // Keeps the saved state across a change the program makes itself, not the user.
    class KeepSaved {
    public:
        explicit KeepSaved(Project& project) : project_(project), saved_(project.savedFlag_) {}
        ~KeepSaved() { project_.savedFlag_ = saved_; }
        KeepSaved(const KeepSaved&) = delete;
        KeepSaved& operator=(const KeepSaved&) = delete;

    private:
        Project& project_;
        bool saved_;
    };

    PathStyle pathStyle() const { return style_; }
    DialogMemory& dialogs() { return dialogs_; }
    bool InFolderSet(const QString& folder) const { return folderSet_.contains(folder); }

    // Both keep every contents link on its page. Adding puts the new paths first (an old
    // equal entry goes) and selects the first; removing unlinks an entry whose page went
    // and takes the folders among the selected entries out of FolderSet.
    // Adding throws RuntimeError, and changes nothing, when the paths would not fit.
    void addFiles(const QStringList& paths);
    void removeSelectedFiles();
    // Empties the lists and the folder set and forgets the project folder.
    void clear();
    // Puts a saved project's file list, the contents that link into it and the folders among
    // its entries in place.
    void restore(QList<ListEntry> files, QList<ListEntry> contents, QSet<QString> folders = {});

    // Takes the project files and help files that lie directly in one of the folders out of
    // batch and returns them: a new project must not list what an earlier one wrote.
    QStringList takeOwnOutput(QStringList& batch, const QStringList& folders) const;

    // Puts folder entries into the file list and rebuilds the contents in use from it. Throws
    // RuntimeError, and changes nothing, when they would not fit.
    void FoldIt();

    // The file dialogs, starting where the last one ended.
    QStringList showFileDialog(Host& host, int mode, const QString& filter, const QString& title,
                               const QString& defaultExtension);
    QString browseForFolder(Host& host, const QString& title);

private:
    // Every link follows its page, found by its path, from the file list as it was before.
    void relinkContents(const QList<ListEntry>& before);
    // newPosition[i] is where file-list entry i went, -1 if it is gone.
    void moveLinks(const QList<qint32>& newPosition);

    PathStyle style_;
    ListBox lf_{ListBox::Selection::Extended};
    ListBox l0_{ListBox::Selection::Single};
    ListBox l1_{ListBox::Selection::Extended};
    int lbIndex_ = 1;
    QString comparePath_;
    bool savedFlag_ = false;
    int savedCount_ = 0;
    QSet<QString> folderSet_;
    DialogMemory dialogs_;
};

} // namespace folvane
