#pragma once

#include "host/Host.h"
#include "registry/MemoryRegistryBackend.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <deque>
#include <functional>

namespace folvane {

// A host for tests: answers are queued in order, and every prompt is recorded with its
// text, buttons and icon so a test can assert exactly what the user would have seen.
// An unanswered message box returns its default button; an unanswered input box, folder
// browser or file dialog is cancelled.
class ScriptedHost : public Host {
public:
    enum class PromptKind { Message, Input, Folder, OpenFiles, SaveFile };
    struct Prompt {
        PromptKind kind;
        QString text; // prompt or dialog title
        QString title;
        MsgButtons buttons = MsgButtons::OkOnly;
        MsgIcon icon = MsgIcon::None;
        int defaultButton = 0;
        QString defaultText; // input default, dialog start folder or start path
        QString filter;
        QString defaultExtension;
        std::optional<QPoint> positionTwips;
        bool includeFiles = false;
    };
    struct Launch {
        QString program;
        QStringList arguments;
        QString commandLine;
    };

    void answerMessage(int result) { messages_.push_back(result); }
    // The text given with OK (an empty one too); cancelInput() answers the next box with Cancel.
    void answerInput(const QString& text) { inputs_.push_back(text); }
    void cancelInput() { inputs_.push_back(std::nullopt); }
    void answerFolder(const QString& folder) { folders_.push_back(folder); }
    void answerOpenFiles(const QStringList& files) { openFiles_.push_back(files); }
    void answerSaveFile(const QString& path) { saveFiles_.push_back(path); }

    const QList<Prompt>& prompts() const { return prompts_; }
    QList<Prompt> prompts(PromptKind kind) const;
    // Message texts only, in order: the common assertion.
    QStringList messageTexts() const;
    void clearPrompts() { prompts_.clear(); }

    void setKeyDown(int virtualKey, bool down);
    // Runs on every doEvents(): a test can click something "in between" here.
    std::function<void()> onDoEvents;
    int doEventsCount() const { return doEventsCount_; }

    bool busy() const { return busy_; }
    int busyChanges() const { return busyChanges_; }
    const QList<Launch>& launches() const { return launches_; }
    void clearLaunches() { launches_.clear(); }
    void setStartSucceeds(bool ok) { startSucceeds_ = ok; }
    const QStringList& openedUrls() const { return urls_; }
    int beeps() const { return beeps_; }

    void setNow(const QDateTime& now) { now_ = now; }
    void setProgramFolder(const QString& folder) { programFolder_ = folder; }
    void setProgramName(const QString& name) { programName_ = name; }
    void setVersion(AppVersion v) { version_ = v; }
    void setScreenSizeTwips(QSize size) { screen_ = size; }

    int messageBox(const QString& prompt, MsgButtons buttons, MsgIcon icon, int defaultButton = 0,
                   const QString& title = {}, MsgMeaning meaning = MsgMeaning::Failure) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& defaultText, const QString& title = {},
                                    std::optional<QPoint> positionTwips = {}) override;
    QString browseForFolder(const QString& startFolder, const QString& title, bool includeFiles) override;
    QStringList openFiles(const QString& startFolder, const QString& filter, const QString& title) override;
    QString saveFile(const QString& startPath, const QString& filter, const QString& title,
                     const QString& defaultExtension) override;
    void doEvents() override;
    void setBusy(bool busy) override;
    bool isKeyDown(int virtualKey) override { return keysDown_.contains(virtualKey); }
    bool startDetached(const QString& program, const QStringList& arguments, const QString& commandLine = {}) override;
    void openUrl(const QString& url) override { urls_.append(url); }
    void beep() override { ++beeps_; }
    QSize screenSizeTwips() override { return screen_; }
    QDateTime now() override { return now_; }
    QString programFolder() override { return programFolder_; }
    QString programName() override { return programName_; }
    AppVersion version() override { return version_; }
    MemoryRegistryBackend& registry() override { return registry_; }
    std::optional<QRect> programWindowFrame() override { return frame_; }
    void setProgramWindowFrame(const QRect& frame) { frame_ = frame; }
    QString recall(const QString& key) override { return kept_.value(key); }
    void remember(const QString& key, const QString& value) override { kept_.insert(key, value); }

private:
    std::deque<int> messages_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<QString> folders_;
    std::deque<QStringList> openFiles_;
    std::deque<QString> saveFiles_;
    QList<Prompt> prompts_;
    QSet<int> keysDown_;
    int doEventsCount_ = 0;
    bool busy_ = false;
    int busyChanges_ = 0;
    QList<Launch> launches_;
    bool startSucceeds_ = true;
    QStringList urls_;
    int beeps_ = 0;
    QDateTime now_{QDate(2026, 12, 6), QTime(7, 5, 9)};
    QString programFolder_ = QStringLiteral("/opt/folvane");
    QString programName_ = QStringLiteral("folvane");
    AppVersion version_{1, 0, 24};
    QSize screen_{28800, 16200};
    MemoryRegistryBackend registry_;
    std::optional<QRect> frame_;
    QHash<QString, QString> kept_;
};

} // namespace folvane
