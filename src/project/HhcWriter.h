#pragma once

#include "util/PathStyle.h"
#include "util/Paths.h"

#include <QString>

namespace folvane {

class ListBox;

// The text of HH_KVEL.hhc from the TOC: nested <UL> lists following the entries' depths,
// topics linked relative to the project folder with "/". Entry names are written exactly
// as they stand. Throws RuntimeError when a TOC link points past the end of the file list.
QString buildContentsFile(const ListBox& toc, const ListBox& fileList, const QString& projectFolder,
                          PathStyle style = nativePathStyle(), const FolderTest& isFolder = {});

} // namespace folvane
