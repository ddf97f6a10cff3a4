#pragma once

#include "util/PathStyle.h"
#include "util/Paths.h"

#include <QString>

namespace folvane {

class ListBox;

// The text of HH_KVEL.hhc from the TOC: nested <UL> lists following the entries' depths,
// topics linked relative to the project folder with "/". Names and links are written as
// they stand but for a double quote, which becomes &quot;. Throws RuntimeError when a TOC
// link points past the end of the file list.
QString buildContentsFile(const ListBox& toc, const ListBox& fileList, const QString& projectFolder,
                          PathStyle style = nativePathStyle(), const FolderTest& isFolder = {});

} // namespace folvane
