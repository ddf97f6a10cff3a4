#pragma once

#include "util/PathStyle.h"

#include <QString>

namespace folvane {

// What a compile's output file would take the place of, checked before compiling, as the
// help compiler checks it again.
enum class OutputTarget {
    Free,        // nothing, an empty file or a help file
    ProjectFile, // the project or contents file: never replaced
    NotHelpFile, // a file of another kind: replaced only when the user says so
    ReadOnly,    // a help file marked read-only: likewise
};

// output as the settings hold it; a relative one lies in projectFolder, as the compiler reads it.
OutputTarget examineOutput(const QString& output, const QString& projectFolder, PathStyle style = nativePathStyle());

// A title as the name of the output file: what would make it a path (separators, "..", and
// on Windows the characters its names cannot hold) becomes "_".
QString fileNameFromTitle(const QString& title, PathStyle style = nativePathStyle());

} // namespace folvane
