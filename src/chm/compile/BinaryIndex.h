#pragma once

#include "chm/compile/BinaryContents.h"
#include "chm/compile/PageKeywords.h"
#include "chm/system/KeywordFiles.h"

namespace folvane::chm {

// The keywords of an index file (none for nullptr) and of the pages for a binary index, in
// the order a viewer lists them: each level sorted ignoring case, sub-keywords under their
// parent as "parent, sub-keyword", a page's keyword joining the index file's top-level
// keyword of that name. Every "Local" of a keyword names a topic: the page's own when it has
// one, else a new one titled by the "Name" before that "Local" (or the keyword).
std::vector<KeywordEntry> indexKeywords(const SitemapText* index, const std::vector<PageKeyword>& pageKeywords,
                                        const EntryText& text, TopicTables& topics);

} // namespace folvane::chm
