#pragma once

#include "registry/Reg.h"
#include "util/PathStyle.h"

#include <QString>

namespace folvane {

class RegistryBackend;

// The right-click command "编译(&E)" for project files in the shell: registration keeps a
// foreign command of the same name under the sibling key shell_Old, removal puts it back.
// Registry failures are silent, as for every registry write of the program.
class ShellRegistration {
public:
    explicit ShellRegistration(RegistryBackend& backend, PathStyle style = nativePathStyle());

    static QString hhpExtension() { return QStringLiteral("hhp"); }
    static QString compileVerb() { return QStringLiteral("编译(&E)"); }

    // What a click on the menu item does with the new state of its check mark: register
    // when it is on, remove when it is off.
    void applyHhpRegistration(bool checked, const QString& programFolder);

    // Appends two spaces and "%1" in quotes when the command has no %1, and returns
    // VerbExeName(): the name of the program the command starts, without extension.
    QString PrepareVerbCommand(QString& command);
    const QString& VerbExeName() const { return verbExeName_; }
    // Both do nothing when the extension has no file type.
    void RegisterVerb(const QString& extension, const QString& verbCaption, QString command);
    void UnregisterVerb(const QString& extension, const QString& verbCaption);

    const Reg& reg() const { return reg_; }

private:
    QString fileType(const QString& extension);

    Reg reg_;
    PathStyle style_;
    QString verbExeName_;
};

} // namespace folvane
