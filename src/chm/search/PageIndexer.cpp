#include "chm/search/PageIndexer.h"

#include "chm/platform/OrderedWork.h"
#include "chm/search/PageTerms.h"
#include "chm/search/PageText.h"
#include "chm/search/WordBreaker.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace folvane::chm {

namespace {

// Pages read but not yet merged: enough to keep the workers busy, few enough to keep
// memory flat. Reading a page for its words takes up to some fifteen times its size, so a
// budget holds its words in one half and pages of a thirty-second of it in the other.
constexpr std::size_t kMaxWaitingBytes = 48u << 20;
constexpr std::uint64_t kWaitingShareOfBudget = 32;
constexpr std::uint64_t kWordsShareOfBudget = 2;
constexpr std::size_t kMaxWaitingPerThread = 256;
// Pages go to the workers a few at a time: one hand-over per page costs more than a
// small page's words.
constexpr std::size_t kBatchBytes = 256u << 10;
// A worker keeps its tables for the next page up to this size.
constexpr std::size_t kKeptScratchBytes = 16u << 20;
constexpr std::size_t kBatchPages = 64;

struct Indexed {
    std::string title;
    GroupedTerms terms;
    std::size_t bytes = 0;
};

// The title's words count in the text too, before it: a title is what a reader sees first.
Indexed indexPage(const std::string& bytes, std::uint32_t fallbackCodePage, PageTerms& scratch) {
    Indexed result;
    result.bytes = bytes.size();
    PageText text = extractPageText(bytes, fallbackCodePage);
    scratch.clear();
    const std::uint32_t position = WordBreaker::split(text.title, 0, [&](std::string_view word, std::uint32_t at) {
        scratch.add(word, at, true);
        scratch.add(word, at, false);
    });
    WordBreaker::split(text.body, position,
                       [&](std::string_view word, std::uint32_t at) { scratch.add(word, at, false); });
    scratch.group(result.terms);
    result.title = std::move(text.title);
    return result;
}

// Pages handed to the threads together, and their words once read.
struct Batch {
    std::vector<std::string> pages;
    std::vector<Indexed> results;
};

} // namespace

struct PageIndexer::Impl {
    Impl(WorkPipeline& work, std::uint32_t codePage)
        : fallbackCodePage(codePage), scratches(work.threads()),
          batches(work, [this](Batch& job, unsigned thread) { read(job, scratches[thread]); }) {}
    // The batches still waiting are dropped unread.
    ~Impl() { dropping = true; }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    std::uint32_t fallbackCodePage;
    std::unique_ptr<WordIndex> words;
    std::vector<std::string> titles;
    bool complete = true;
    // The caller's alone: pages added and not merged yet, and the batch being filled.
    std::size_t waitingPages = 0;
    std::size_t waitingBytes = 0;
    std::size_t maxWaiting = 0;
    std::size_t maxWaitingBytes = kMaxWaitingBytes;
    std::vector<std::string> batch;
    std::size_t batchBytes = 0;
    // Set by the threads reading pages.
    std::atomic<bool> pageLost = false;
    std::atomic<bool> dropping = false;
    // Each thread's tables, kept for its next page.
    std::vector<PageTerms> scratches;
    // Batches posted and not merged yet, in page order.
    OrderedWork<Batch> batches;

    void read(Batch& job, PageTerms& scratch) {
        job.results.resize(job.pages.size());
        for (std::size_t i = 0; i < job.pages.size() && !dropping; ++i) {
            try {
                job.results[i] = indexPage(job.pages[i], fallbackCodePage, scratch);
            } catch (const std::bad_alloc&) {
                // A page that cannot be read for words is stored unindexed: the help
                // file matters more than its index.
                pageLost = true;
                job.results[i] = Indexed{{}, {}, job.pages[i].size()};
            }
            std::string().swap(job.pages[i]);
            // The tables a huge page grew are given back rather than kept for the next.
            if (scratch.memoryBytes() > kKeptScratchBytes)
                scratch = PageTerms();
        }
    }

    // Hands the pages added so far to the threads.
    void submitBatch() {
        if (batch.empty())
            return;
        batches.post(Batch{std::move(batch), {}});
        batch.clear();
        batchBytes = 0;
    }

    // Puts the oldest batch's words into the index, waiting for them if asked.
    bool mergeOldest(bool wait) {
        std::optional<Batch> job = batches.takeOldest(wait);
        if (!job)
            return false;
        for (Indexed& page : job->results) {
            const auto number = static_cast<std::uint32_t>(titles.size());
            try {
                words->addPage(number, std::move(page.terms));
                titles.push_back(std::move(page.title));
            } catch (const std::bad_alloc&) {
                complete = false;
                titles.resize(number + 1);
            }
            --waitingPages;
            waitingBytes -= page.bytes;
        }
        return true;
    }
};

PageIndexer::PageIndexer(WorkPipeline& work, std::uint32_t fallbackCodePage, WordIndex::Limits limits)
    : impl_(std::make_unique<Impl>(work, fallbackCodePage)) {
    impl_->maxWaitingBytes =
        static_cast<std::size_t>(std::min<std::uint64_t>(kMaxWaitingBytes, limits.memoryBytes / kWaitingShareOfBudget));
    limits.memoryBytes /= kWordsShareOfBudget;
    impl_->words = std::make_unique<WordIndex>(std::move(limits));
    impl_->maxWaiting = kMaxWaitingPerThread * work.threads();
}

PageIndexer::~PageIndexer() = default;

void PageIndexer::add(std::string bytes) {
    Impl& d = *impl_;
    while (d.mergeOldest(false)) {
    }
    const auto roomFor = [&d, size = bytes.size()] {
        return d.waitingPages == 0 || (d.waitingPages < d.maxWaiting && d.waitingBytes + size <= d.maxWaitingBytes);
    };
    if (!roomFor()) {
        d.submitBatch();
        while (!roomFor())
            d.mergeOldest(true);
    }
    ++d.waitingPages;
    d.waitingBytes += bytes.size();
    d.batchBytes += bytes.size();
    d.batch.push_back(std::move(bytes));
    if (d.batchBytes >= kBatchBytes || d.batch.size() >= kBatchPages)
        d.submitBatch();
}

bool PageIndexer::finish() {
    Impl& d = *impl_;
    d.submitBatch();
    while (d.mergeOldest(true)) {
    }
    try {
        d.words->finish();
    } catch (const std::bad_alloc&) {
        d.complete = false;
    }
    return d.complete && !d.pageLost;
}

WordIndex& PageIndexer::words() {
    return *impl_->words;
}

const std::vector<std::string>& PageIndexer::titles() const {
    return impl_->titles;
}

} // namespace folvane::chm
