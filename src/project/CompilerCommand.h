#pragma once

#include "util/PathStyle.h"

#include <QRect>
#include <QStringList>

#include <optional>

namespace folvane {

// The help compiler beside the program and the command that compiles a project with it:
// for the window, the shell's and the desktop's right-click command, and folvane-make.
class CompilerCommand {
public:
    explicit CompilerCommand(const QString& programFolder, PathStyle style = nativePathStyle());

    // "<folder>\hhc.exe" for Windows paths, "<folder>/hhc" elsewhere.
    const QString& program() const { return program_; }
    QString quotedProgram() const { return u'"' + program_ + u'"'; }
    // Whether hhc's exit code means success.
    static bool succeeded(int exitCode);

    // Lets the compiler replace an output that is not a help file.
    void setReplaceAnyOutput(bool replace) { replaceAnyOutput_ = replace; }
    // Its output in a window of its own, in the middle of frame when there is one.
    void showWindow(const std::optional<QRect>& frame);

    QStringList arguments(const QString& projectFile) const;
    // As Windows passes them: the project in quotes.
    QString windowsArguments(const QString& projectFile) const;
    // The whole command line for Windows paths, with the program in quotes; empty elsewhere.
    QString commandLine(const QString& projectFile) const;

private:
    PathStyle style_;
    QString program_;
    bool replaceAnyOutput_ = false;
    std::optional<QString> window_;
};

} // namespace folvane
