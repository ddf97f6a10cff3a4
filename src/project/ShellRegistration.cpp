#include "project/ShellRegistration.h"

#include "project/CompilerCommand.h"
#include "util/Paths.h"

namespace folvane {

namespace {

QString sub(const QString& key, const QString& name) {
    return key + QLatin1Char('\\') + name;
}

// The program a command starts: the quoted text at its start, or the whole command.
QString programPart(const QString& command) {
    if (command.startsWith(QLatin1Char('"'))) {
        const qsizetype close = command.indexOf(QLatin1Char('"'), 1);
        if (close > 0)
            return command.mid(1, close - 1);
    }
    return command;
}

} // namespace

ShellRegistration::ShellRegistration(RegistryBackend& backend, PathStyle style) : reg_(backend), style_(style) {}

void ShellRegistration::applyHhpRegistration(bool checked, const QString& programFolder) {
    if (checked)
        RegisterVerb(hhpExtension(), compileVerb(), CompilerCommand(programFolder, style_).quotedProgram());
    else
        UnregisterVerb(hhpExtension(), compileVerb());
}

QString ShellRegistration::PrepareVerbCommand(QString& command) {
    if (!command.contains(QStringLiteral("%1")))
        command += QStringLiteral("  \"%1\"");
    // Only the program part: arguments may hold separators and dots of their own.
    verbExeName_ = PathPart(programPart(command), 1, style_);
    return verbExeName_;
}

QString ShellRegistration::fileType(const QString& extension) {
    return reg_.RegReadValue(QLatin1Char('.') + extension, QString());
}

void ShellRegistration::RegisterVerb(const QString& extension, const QString& verbCaption, QString command) {
    PrepareVerbCommand(command);
    const QString type = fileType(extension);
    if (type.isEmpty())
        return;
    const QString verbKey = sub(sub(type, QStringLiteral("shell")), verbCaption);
    const QString old = reg_.RegReadValue(sub(verbKey, QStringLiteral("command")), QString());
    // A command that names our compiler (another copy of the program) is not worth keeping.
    const bool ours = !verbExeName_.isEmpty() && old.contains(verbExeName_, Qt::CaseInsensitive);
    if (!old.isEmpty() && old != command && !ours)
        reg_.RegWriteValue(sub(sub(sub(type, QStringLiteral("shell_Old")), verbCaption), QStringLiteral("command")),
                           QString(), old);
    reg_.RegWriteValue(verbKey, QString(), verbCaption);
    reg_.RegWriteValue(sub(verbKey, QStringLiteral("command")), QString(), command);
}

void ShellRegistration::UnregisterVerb(const QString& extension, const QString& verbCaption) {
    const QString type = fileType(extension);
    if (type.isEmpty())
        return;
    const QString shellKey = sub(type, QStringLiteral("shell"));
    const QString commandKey = sub(sub(shellKey, verbCaption), QStringLiteral("command"));
    if (reg_.RegReadValue(commandKey, QString()).isEmpty())
        return;
    reg_.RegDeleteTree(shellKey, verbCaption);

    const QString backupKey = sub(type, QStringLiteral("shell_Old"));
    const QString oldCommand =
        reg_.RegReadValue(sub(sub(backupKey, verbCaption), QStringLiteral("command")), QString());
    if (!oldCommand.isEmpty())
        reg_.RegWriteValue(commandKey, QString(), oldCommand);
    const QString oldDefaultVerb = reg_.RegReadValue(backupKey, QString());
    if (!oldDefaultVerb.isEmpty())
        reg_.RegWriteValue(shellKey, QString(), oldDefaultVerb);
    reg_.RegDeleteTree(type, QStringLiteral("shell_Old"));
}

} // namespace folvane
