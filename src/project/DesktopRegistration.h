#pragma once

#include <QString>

#include <optional>

namespace folvane {

class Host;

// The compile command for project files on a freedesktop.org desktop: a MIME type for *.hhp
// (shared-mime-info), a desktop entry that runs the compiler on the file, and that entry as
// the type's default application in mimeapps.list, where xdg-mime puts it. The default it
// replaces is kept in the entry and put back on removal, unless the user chose another one
// meanwhile. Failures are silent: what is registered afterwards is the answer.
class DesktopRegistration {
public:
    struct Folders {
        QString data;   // $XDG_DATA_HOME
        QString config; // $XDG_CONFIG_HOME
    };
    static Folders userFolders();

    DesktopRegistration(Host& host, Folders folders);

    static QString mimeType() { return QStringLiteral("application/x-hhp"); }
    static QString entryName() { return QStringLiteral("folvane-compile.desktop"); }
    // The verb's caption without its access key: desktop entries cannot show one.
    static QString entryCaption(const QString& verbCaption);
    // Exec= of the entry: the program, quoted only where the desktop entry rules need it
    // (xdg-mime reads an unquoted first word only), then --window and %f.
    static QString execLine(const QString& program);

    QString mimePackagePath() const;
    QString entryPath() const;
    QString defaultsPath() const;

    bool isRegistered() const;
    // Both return isRegistered() afterwards; a file that cannot be written leaves the rest
    // as it was.
    bool registerCompiler(const QString& compilerPath, const QString& verbCaption);
    bool unregister();

private:
    std::optional<QString> keptDefault() const;
    void removeOwnFiles();
    void refreshMimeDatabase();

    Host& host_;
    Folders folders_;
};

} // namespace folvane
