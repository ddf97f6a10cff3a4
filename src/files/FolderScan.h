#pragma once

#include "util/PathStyle.h"

#include <QStringList>

namespace folvane {

class Host;

// Lists the full path of every file below folder whose name matches the ";"-separated
// pattern list; empty for an empty folder argument.
// Order: the results of a folder's sub-folders, the last found first, then the folder's own
// files; within a folder, names in the order NTFS keeps them (DirectoryReader). A name
// without "." is tested with "." appended (and listed with it in Windows style). Failures
// are passed over: a folder that cannot be listed adds nothing, and an invalid pattern
// element counts as a match. What cannot be listed (names that are no text or hold "?" or
// control characters, special files, paths too long, folders that cannot be read, our own
// temporary files) is named in one message at the end, with the reason for each. Shows the busy pointer while it runs
// and lets pending events run as it goes (at the first entry, then every few ms).
QStringList ListFolderFiles(const QString& folder, const QString& patterns, Host& host,
                            PathStyle style = nativePathStyle());

} // namespace folvane
