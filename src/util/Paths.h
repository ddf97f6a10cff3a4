#pragma once

#include "util/PathStyle.h"

#include <QString>

#include <functional>

namespace folvane {

// Pure string operations on paths. Windows style treats "\" and "/" as separators and
// answers in "\" form; Posix style knows only "/" ("\" is an ordinary character).

// Mode 0: file name with extension; 1: without extension; 2: extension without the dot
// (empty when the name has no "."). Other modes act as 0.
// Anything after the first "?" (a query part) is ignored.
QString PathPart(const QString& path, int mode, PathStyle style = nativePathStyle());

// The folder that holds path, without a trailing separator (Posix keeps the root "/").
// Empty when path has no folder part. Windows style answers in "/" form when path had a "/".
QString ParentFolder(const QString& path, PathStyle style = nativePathStyle());

// Answers whether a base names an existing folder.
using FolderTest = std::function<bool(const QString&)>;

// path relative to the folder base, with "..\" steps up as needed. separator "\" keeps
// "\" separators, anything else gives "/" (Windows style; Posix answers always in "/" form).
// A base that is not an existing folder stands for the folder that holds it. An empty
// isFolder asks the file system.
QString RelativePath(const QString& path, const QString& base, const QString& separator,
                     PathStyle style = nativePathStyle(), const FolderTest& isFolder = {});

// True when path is folder itself or lies anywhere below it, compared as the file system
// compares: ignoring case (and "/" versus "\") on Windows, exactly on Posix.
// An empty folder contains nothing.
bool isInFolder(const QString& path, const QString& folder, PathStyle style = nativePathStyle());

// path without folder when it is in folder (as isInFolder decides): the rest keeps its
// leading separator, path == folder gives the empty string, and any other path comes back
// unchanged.
QString stripLeadingFolder(const QString& path, const QString& folder, PathStyle style = nativePathStyle());

} // namespace folvane
