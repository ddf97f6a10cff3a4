#pragma once

#include "chm/platform/ScratchFile.h"
#include "chm/search/SortedWords.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

namespace folvane::chm {

// The words of a search index too large for memory: sorted runs, each the words of some
// pages in IndexOrder, kept in a scratch file beside the output and merged when the index is
// written. Runs come in page order; a word's lists from several runs join into one.
class WordRuns {
public:
    // roots: of the location lists' codes, the same for every run.
    WordRuns(const std::filesystem::path& folder, LocationRoots roots);
    ~WordRuns();
    WordRuns(const WordRuns&) = delete;
    WordRuns& operator=(const WordRuns&) = delete;

    // The words of the pages since the last run, each list begun as a list of its own (its
    // first page a step from page 0).
    void add(SortedWords& words);
    std::size_t count() const { return runs_.size(); }

    // Every run merged; valid while this object lives.
    std::unique_ptr<SortedWords> merged() const;

private:
    void append(const SortedWord& word, std::vector<std::uint8_t>& buffer);
    void flush(std::vector<std::uint8_t>& buffer);

    ScratchFile file_;
    LocationRoots roots_;
    std::uint64_t size_ = 0;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> runs_; // begin, end
};

} // namespace folvane::chm
