#pragma once

#include "chm/search/WordIndex.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace folvane::chm {

class WorkPipeline;

// Reads the words of pages on a pipeline's threads while the caller goes on with other work,
// and puts them into one WordIndex in the order the pages were added.
class PageIndexer {
public:
    // fallbackCodePage: for pages that declare no charset and are not UTF-8. limits: the
    // memory of the whole index (the words held and the pages being read) and where the
    // words go past it.
    PageIndexer(WorkPipeline& work, std::uint32_t fallbackCodePage, WordIndex::Limits limits = {});
    ~PageIndexer();
    PageIndexer(const PageIndexer&) = delete;
    PageIndexer& operator=(const PageIndexer&) = delete;

    // The next page, numbered by how many came before. Blocks while too many wait.
    void add(std::string bytes);
    // Waits for every page added. False when memory ran out for some page's words: the
    // index then lacks them.
    bool finish();

    WordIndex& words();
    // Each page's title, UTF-8, empty for a page without one.
    const std::vector<std::string>& titles() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace folvane::chm
