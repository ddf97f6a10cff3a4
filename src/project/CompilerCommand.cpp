#include "project/CompilerCommand.h"

#include "host/HhcExitStatus.h"
#include "util/PathJoin.h"

namespace folvane {

CompilerCommand::CompilerCommand(const QString& programFolder, PathStyle style) : style_(style) {
    const bool windows = style == PathStyle::Windows;
    program_ = joinPath(windows ? QString(programFolder).replace(u'/', u'\\') : programFolder,
                        windows ? QStringLiteral("hhc.exe") : QStringLiteral("hhc"), style);
}

bool CompilerCommand::succeeded(int exitCode) {
    return exitCode == hhc::kSucceeded;
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

QString CompilerCommand::commandLine(const QString& projectFile) const {
    return style_ == PathStyle::Windows ? quotedProgram() + u' ' + windowsArguments(projectFile) : QString();
}

} // namespace folvane
