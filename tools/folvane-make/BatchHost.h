#pragma once

#include "host/Host.h"
#include "registry/MemoryRegistryBackend.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace folvane {

class ProgressLine;

// The host of folvane-make: the chosen folder answers the folder browser once, every other
// dialog is cancelled, input boxes take their default text and message boxes their default
// button, except the start-up question whether to open the folder's project, which the
// command line answers. What a message box would show goes to standard error, one line per box.
//
// Every critical box is an error, except one that reports an item left out
// (MsgMeaning::ItemSkipped): the window shows it and goes on, so the run counts a warning.
class BatchHost : public Host {
public:
    // What the progress line counts while a long step runs.
    enum class Count { Nothing, ScanEntries, Titles };

    BatchHost(QString folder, QIODevice& messages, ProgressLine& progress);

    // A fixed clock instead of the system's (the window name of the project file).
    void setClock(const QDateTime& clock) { clock_ = clock; }
    // The answer to the start-up question whether to open the folder's project; not printed.
    void setOpensExistingProject(bool open) { opensExistingProject_ = open; }

    // Counting for the progress line; total tells how many titles there are to give.
    void beginCount(Count what, std::function<int()> total = {});
    void endCount();

    int errorCount() const { return errors_; }
    int warningCount() const { return warnings_; }

    // The box text as one line: line breaks become spaces.
    static QString oneLine(const QString& text);

    int messageBox(const QString& prompt, MsgButtons buttons, MsgIcon icon, int defaultButton = 0,
                   const QString& title = {}, MsgMeaning meaning = MsgMeaning::Failure) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& defaultText, const QString& title = {},
                                    std::optional<QPoint> positionTwips = {}) override;
    QString browseForFolder(const QString& startFolder, const QString& title, bool includeFiles) override;
    QStringList openFiles(const QString& startFolder, const QString& filter, const QString& title) override;
    QString saveFile(const QString& startPath, const QString& filter, const QString& title,
                     const QString& defaultExtension) override;
    void doEvents() override;
    void progressCount(qint64 count) override;
    void setBusy(bool) override {}
    bool isKeyDown(int) override { return false; }
    // The batch road compiles on its own and waits for the compiler; nothing else starts.
    bool startDetached(const QString&, const QStringList&, const QString& = {}) override { return false; }
    void openUrl(const QString&) override {}
    void beep() override {}
    QSize screenSizeTwips() override { return {28800, 16200}; }
    QDateTime now() override;
    QString programFolder() override;
    QString programName() override;
    AppVersion version() override;
    RegistryBackend& registry() override { return registry_; }

private:
    void showCount(qint64 count);

    QString folder_;
    bool folderGiven_ = false;
    bool opensExistingProject_ = false;
    QIODevice& messages_;
    ProgressLine& progress_;
    std::optional<QDateTime> clock_;
    Count counting_ = Count::Nothing;
    std::function<int()> total_;
    qint64 titlesDone_ = 0;
    int errors_ = 0;
    int warnings_ = 0;
    MemoryRegistryBackend registry_;
};

} // namespace folvane
