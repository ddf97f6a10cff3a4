#pragma once

#include "project/FileManagerActions.h"

#include <QString>

#include <optional>

namespace folvane {

class Host;

// The compile command for project files on a freedesktop.org desktop: a MIME type for *.hhp
// (shared-mime-info), a desktop entry that runs the compiler on the file and is offered under
// "打开方式" without becoming the type's default, and "编译" in the context menu of the file
// managers there are (FileManagerActions). The only application of a new type would be its
// default: where none is set, what opened project files before (as plain text) is made the
// default. A user who made the entry the default (as an earlier registration did) keeps it
// and gets the default before it back on removal, unless another one was chosen meanwhile.
// Failures are silent: what is registered afterwards is the answer.
class DesktopRegistration {
public:
    using Folders = FileManagerActions::Folders;
    static Folders userFolders();

    DesktopRegistration(Host& host, Folders folders);

    static QString mimeType() { return QStringLiteral("application/x-hhp"); }
    static QString entryName() { return QStringLiteral("folvane-compile.desktop"); }
    // The verb's caption without its access key: desktop entries cannot show one.
    static QString entryCaption(const QString& verbCaption);
    // Exec= of the entry: the program, quoted only where the desktop entry rules need it
    // (xdg-mime reads an unquoted first word only), then --window (the output in a window
    // of its own) and %f.
    static QString execLine(const QString& program);

    QString mimePackagePath() const;
    QString entryPath() const;
    QString defaultsPath() const;

    bool isRegistered() const;
    FileManagerActions fileManagers() const { return FileManagerActions(folders_); }
    // Both return isRegistered() afterwards; a file that cannot be written leaves the rest
    // as it was.
    bool registerCompiler(const QString& compilerPath, const QString& verbCaption);
    bool unregister(const QString& verbCaption);

private:
    // A value of our desktop entry, as it is on disk.
    std::optional<QString> entryValue(const QString& key) const;
    void removeOwnFiles(const QString& caption);
    void refreshMimeDatabase();

    Host& host_;
    Folders folders_;
};

} // namespace folvane
