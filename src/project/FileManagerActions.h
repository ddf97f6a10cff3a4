#pragma once

#include <QString>
#include <QStringList>

namespace folvane {

// "编译" in the context menu of project files, in each file manager that is there, written
// where that file manager keeps its own configuration: a service menu for Dolphin, a script
// for Nautilus, a custom action for Thunar. Removing takes out only what is ours, and leaves
// every file as it was before.
class FileManagerActions {
public:
    struct Folders {
        QString data;             // $XDG_DATA_HOME
        QString config;           // $XDG_CONFIG_HOME
        QStringList systemConfig; // $XDG_CONFIG_DIRS, where Thunar's default actions are
    };

    explicit FileManagerActions(Folders folders);

    QString serviceMenuPath() const;
    QString scriptPath(const QString& caption) const;
    QString thunarActionsPath() const;

    // The file managers that are installed or have a configuration folder.
    bool hasDolphin() const;
    bool hasNautilus() const;
    bool hasThunar() const;

    // Writes the action of every file manager there is, running `compiler --window FILE`.
    // Throws RuntimeError when a file cannot be written.
    void add(const QString& compilerPath, const QString& caption);
    // Removes every action of ours, wherever it is.
    void remove(const QString& caption);

private:
    void addThunarAction(const QString& compilerPath, const QString& caption);
    void removeThunarAction();

    Folders folders_;
};

} // namespace folvane
