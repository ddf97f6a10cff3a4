#pragma once

#include "host/Host.h"

#include <memory>
#include <vector>

class QProcess;
class QWidget;

namespace folvane {

// The program's host: real Qt dialogs, the real clock, keyboard and processes.
class QtHost : public Host {
public:
    QtHost();
    ~QtHost() override;

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
    bool isKeyDown(int virtualKey) override;
    bool startDetached(const QString& program, const QStringList& arguments, const QString& commandLine = {}) override;
    bool startChild(const QString& program, const QStringList& arguments, const QString& commandLine = {}) override;
    void openUrl(const QString& url) override;
    void beep() override;
    QSize screenSizeTwips() override;
    std::optional<QRect> programWindowFrame() override;
    QDateTime now() override;
    QString programFolder() override;
    QString programName() override;
    AppVersion version() override;
    RegistryBackend& registry() override;
    QString recall(const QString& key) override;
    void remember(const QString& key, const QString& value) override;

    // The title shown by boxes that have none of their own.
    static QString programTitle();

private:
    static QWidget* dialogOwner();
    bool busy_ = false;
    std::unique_ptr<RegistryBackend> registry_;
    // Children that end with the program; asked to end, and given a moment, when it does.
    std::vector<std::unique_ptr<QProcess>> children_;
};

// "name|pattern|name|pattern" as Qt file-dialog filters ("name (patterns)").
QStringList qtFileFilters(const QString& filter);

} // namespace folvane
