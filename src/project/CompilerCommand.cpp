#include "project/CompilerCommand.h"

#include "host/HhcExitStatus.h"
#include "util/PathJoin.h"

namespace folvane {

CompilerCommand::CompilerCommand(const QString& programFolder, PathStyle style) {
    QString folder = programFolder;
    if (style == PathStyle::Windows)
        folder.replace(u'/', u'\\');
    program_ = joinPath(folder, style == PathStyle::Windows ? QStringLiteral("hhc.exe") : QStringLiteral("hhc"), style);
}

void CompilerCommand::showWindow(const std::optional<QRect>& frame) {
    window_ = QStringLiteral("--window");
    if (frame)
        *window_ +=
            QStringLiteral("=%1,%2,%3,%4").arg(frame->x()).arg(frame->y()).arg(frame->width()).arg(frame->height());
}

QStringList CompilerCommand::arguments(const QString& projectFile) const {
    QStringList arguments;
    if (replaceAnyOutput_)
        arguments << QStringLiteral("--force");
    if (window_)
        arguments << *window_;
    return arguments << projectFile;
}

QString CompilerCommand::windowsArguments(const QString& projectFile) const {
    QStringList line = arguments(projectFile);
    line.last() = u'"' + projectFile + u'"';
    return line.join(u' ');
}

QString CompilerCommand::windowsCommandLine(const QString& projectFile) const {
    return quotedProgram() + u' ' + windowsArguments(projectFile);
}

bool CompilerCommand::succeeded(int exitCode) {
    return exitCode == hhc::kSucceeded;
}

} // namespace folvane
