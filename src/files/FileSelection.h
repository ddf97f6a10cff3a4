#pragma once

#include "util/PathStyle.h"

#include <QStringList>

#include <functional>

namespace folvane {

class DialogMemory;
class Host;
class ProgressDriver;

// What choosing files works with.
struct FileSelectionContext {
    Host& host;
    DialogMemory& dialogs;
    ProgressDriver& progress;
    PathStyle style;
    // Puts the chosen paths into the file list; throws RuntimeError when it cannot.
    std::function<void(QStringList& batch)> add;
};

// Paths chosen by the user: with a folder, every file below it that matches
// Pattern; without one, the files picked in the file dialog, optionally widened to every
// file of the same kind below their folder.
QStringList SelectFiles(const FileSelectionContext& in, const QString& Folder, const QString& Pattern);

// Adds the selection to the file list. Errors end it with a message.
void AddFilesToList(const FileSelectionContext& in, const QString& Folder, const QString& Pattern);

// A typed pattern element without "." matches anywhere in a name: jpg becomes *jpg*.
QString widenPatternAnswer(const QString& answer);

// Whether the project folder lies inside the folder just chosen, which then widens it.
bool isWithinChosenFolder(const QString& projectFolder, const QString& chosen, PathStyle style);

} // namespace folvane
