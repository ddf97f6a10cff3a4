#pragma once

#include "util/PathStyle.h"
#include "util/Paths.h"

#include <QString>

namespace folvane {

class ListBox;

// The text of HH_KVEL.hhc from the TOC, as formats::SitemapWriter writes it, topics linked
// relative to the project folder with "/". Throws RuntimeError when a TOC link points past
// the end of the file list or a text holds a lone surrogate.
QString buildContentsFile(const ListBox& toc, const ListBox& fileList, const QString& projectFolder,
                          PathStyle style = nativePathStyle(), const FolderTest& isFolder = {});

} // namespace folvane
