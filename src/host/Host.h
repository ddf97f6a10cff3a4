#pragma once

#include "host/MessageBox.h"

#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace folvane {

class RegistryBackend;

struct AppVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// Everything that talks to the user or to the operating system. Forms receive a Host;
// the program passes QtHost, tests a ScriptedHost, the batch tool its own host.
class Host {
public:
    virtual ~Host() = default;

    // Message box with the classic buttons and icons; returns a MsgResult code.
    // defaultButton is 0-based; an empty title means the program's title.
    virtual int messageBox(const QString& prompt, MsgButtons buttons, MsgIcon icon, int defaultButton = 0,
                           const QString& title = {}, MsgMeaning meaning = MsgMeaning::Failure) = 0;
    // Input box: the text given with OK, empty or not; nothing when the box was cancelled
    // (Cancel, Esc or its close box). positionTwips places its top-left corner.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& defaultText,
                                            const QString& title = {}, std::optional<QPoint> positionTwips = {}) = 0;

    // Folder browser: the chosen folder in native form, or empty when cancelled.
    virtual QString browseForFolder(const QString& startFolder, const QString& title, bool includeFiles) = 0;
    // Open dialog for several files: full native paths in the dialog's order; empty when cancelled.
    // filter is the "name|pattern|name|pattern" text.
    virtual QStringList openFiles(const QString& startFolder, const QString& filter, const QString& title) = 0;
    // Save dialog with overwrite confirmation: a full native path, or empty when cancelled.
    virtual QString saveFile(const QString& startPath, const QString& filter, const QString& title,
                             const QString& defaultExtension) = 0;

    virtual void doEvents() = 0;
    // How many entries a long operation has gone through so far, just before it lets events
    // run; for a host that shows progress without a window.
    virtual void progressCount(qint64 count) { Q_UNUSED(count) }
    virtual void setBusy(bool busy) = 0;
    // Virtual-key codes: 16 Shift, 17 Ctrl, 18 Alt.
    virtual bool isKeyDown(int virtualKey) = 0;

    // Starts a process without waiting for it. On Windows a non-empty commandLine is
    // passed to the process as it is (program and arguments already quoted in it).
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& commandLine = {}) = 0;
    // The same for a process that must not outlive the program (the help compiler): it is
    // asked to end when the program ends, however the program ends.
    virtual bool startChild(const QString& program, const QStringList& arguments, const QString& commandLine = {}) {
        return startDetached(program, arguments, commandLine);
    }
    virtual void openUrl(const QString& url) = 0;
    virtual void beep() = 0;

    virtual QSize screenSizeTwips() = 0;
    // The program's main window on the screen, frame included, in the pixels windows are
    // placed by; none without a window.
    virtual std::optional<QRect> programWindowFrame() { return std::nullopt; }
    virtual QDateTime now() = 0;
    // The program's folder in native form, without a trailing separator unless it is a root.
    virtual QString programFolder() = 0;
    // The executable's file name without its extension.
    virtual QString programName() = 0;
    virtual AppVersion version() = 0;
    // The classes root that the shell registration writes to.
    virtual RegistryBackend& registry() = 0;

    // A text kept between runs under key (the last project folder); empty when none was kept.
    virtual QString recall(const QString& key) {
        Q_UNUSED(key)
        return {};
    }
    virtual void remember(const QString& key, const QString& value) {
        Q_UNUSED(key)
        Q_UNUSED(value)
    }
};

} // namespace folvane
