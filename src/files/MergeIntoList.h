#pragma once

#include "util/PathStyle.h"

#include <QStringList>

namespace folvane {

class ListBox;

// The only way a batch of paths enters a list: the new entries first, in their order,
// then the old entries that are not in the batch. New entries are plain files (marker 0);
// old ones keep their markers, so folder entries stay folder entries. Every selection is
// cleared. Throws RuntimeError (list unchanged) when the result would not fit.
// Paths are compared as the platform compares them: ignoring case on Windows only.
// The key by which the merge tells equal paths: folded case on Windows, exact on Posix.
QString pathKey(const QString& path, PathStyle style);

void MergeIntoList(const QStringList& Items, ListBox& List, bool KeepOld, int SelectIndex,
                   PathStyle style = nativePathStyle());

} // namespace folvane
