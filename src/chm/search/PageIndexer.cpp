#include "chm/search/PageIndexer.h"

#include "chm/search/PageTerms.h"
#include "chm/search/PageText.h"
#include "chm/search/WordBreaker.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <new>
#include <thread>

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

struct Job {
    std::uint32_t firstPage = 0;
    std::vector<std::string> pages;
};

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

} // namespace

struct PageIndexer::Impl {
    std::uint32_t fallbackCodePage = 0;
    std::vector<std::thread> workers;

    std::mutex mutex;
    std::condition_variable jobReady;
    std::condition_variable roomFree;
    std::deque<Job> jobs;
    std::map<std::uint32_t, Indexed> done;
    bool closing = false;
    std::uint32_t added = 0;
    std::uint32_t merged = 0; // guarded by mutex; changed only by the merging thread
    std::size_t waitingBytes = 0;
    std::size_t maxWaiting = 0;
    std::size_t maxWaitingBytes = kMaxWaitingBytes;
    // Pages added and not yet handed to the workers; the caller's thread only.
    Job batch;
    std::size_t batchBytes = 0;

    std::mutex mergeMutex;
    std::atomic<bool> complete = true;
    // Set once by the merging thread, then read anywhere.
    std::exception_ptr failure;
    std::atomic<bool> failed = false;
    std::unique_ptr<WordIndex> words;
    std::vector<std::string> titles;

    void work() {
        PageTerms scratch;
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex);
                jobReady.wait(lock, [this] { return closing || !jobs.empty(); });
                if (jobs.empty())
                    return;
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            std::vector<Indexed> results(job.pages.size());
            for (std::size_t i = 0; i < job.pages.size(); ++i) {
                try {
                    results[i] = indexPage(job.pages[i], fallbackCodePage, scratch);
                } catch (const std::bad_alloc&) {
                    // A page that cannot be read for words is stored unindexed: the help
                    // file matters more than its index.
                    complete = false;
                    results[i] = Indexed{{}, {}, job.pages[i].size()};
                }
                std::string().swap(job.pages[i]);
                // The tables a huge page grew are given back rather than kept for the next.
                if (scratch.memoryBytes() > kKeptScratchBytes)
                    scratch = PageTerms();
            }
            {
                std::lock_guard lock(mutex);
                for (std::size_t i = 0; i < results.size(); ++i)
                    done.emplace(job.firstPage + static_cast<std::uint32_t>(i), std::move(results[i]));
            }
            mergeReady();
        }
    }

    void rethrowFailure() const {
        if (failed)
            std::rethrow_exception(failure);
    }

    // Hands the pages added so far to the workers.
    void submitBatch() {
        if (batch.pages.empty())
            return;
        {
            std::lock_guard lock(mutex);
            jobs.push_back(std::move(batch));
        }
        jobReady.notify_one();
        batch = Job{};
        batchBytes = 0;
    }

    // Merges pages in order while the next one is done; one thread at a time.
    void mergeReady() {
        for (;;) {
            {
                std::unique_lock mergeLock(mergeMutex, std::try_to_lock);
                if (!mergeLock.owns_lock())
                    return;
                for (;;) {
                    Indexed next;
                    std::uint32_t page = 0;
                    {
                        std::lock_guard lock(mutex);
                        const auto found = done.find(merged);
                        if (found == done.end())
                            break;
                        page = merged;
                        next = std::move(found->second);
                        done.erase(found);
                    }
                    try {
                        if (!failed)
                            words->addPage(page, std::move(next.terms));
                        titles.push_back(std::move(next.title));
                    } catch (const std::bad_alloc&) {
                        complete = false;
                        titles.resize(page + 1);
                    } catch (...) {
                        // A run that cannot be written ends the compile, on the caller's thread.
                        failure = std::current_exception();
                        failed = true;
                        titles.resize(page + 1);
                    }
                    std::lock_guard lock(mutex);
                    ++merged;
                    waitingBytes -= next.bytes;
                }
                roomFree.notify_all();
            }
            std::lock_guard lock(mutex);
            if (done.find(merged) == done.end())
                return;
        }
    }
};

PageIndexer::PageIndexer(unsigned threads, std::uint32_t fallbackCodePage, WordIndex::Limits limits)
    : impl_(std::make_unique<Impl>()) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    impl_->fallbackCodePage = fallbackCodePage;
    impl_->maxWaitingBytes =
        static_cast<std::size_t>(std::min<std::uint64_t>(kMaxWaitingBytes, limits.memoryBytes / kWaitingShareOfBudget));
    limits.memoryBytes /= kWordsShareOfBudget;
    impl_->words = std::make_unique<WordIndex>(std::move(limits));
    impl_->maxWaiting = kMaxWaitingPerThread * threads;
    for (unsigned i = 0; i < threads; ++i)
        impl_->workers.emplace_back([this] { impl_->work(); });
}

PageIndexer::~PageIndexer() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->closing = true;
        impl_->jobs.clear();
    }
    impl_->jobReady.notify_all();
    for (std::thread& t : impl_->workers)
        if (t.joinable())
            t.join();
}

void PageIndexer::add(std::string bytes) {
    Impl& d = *impl_;
    d.rethrowFailure();
    const auto roomFor = [&d, size = bytes.size()] {
        const std::size_t waiting = d.added - d.merged;
        return waiting == 0 || (waiting < d.maxWaiting && d.waitingBytes + size <= d.maxWaitingBytes);
    };
    {
        std::unique_lock lock(d.mutex);
        if (!roomFor()) {
            lock.unlock();
            d.submitBatch();
            lock.lock();
            d.roomFree.wait(lock, roomFor);
        }
        d.waitingBytes += bytes.size();
        if (d.batch.pages.empty())
            d.batch.firstPage = d.added;
        ++d.added;
    }
    d.batchBytes += bytes.size();
    d.batch.pages.push_back(std::move(bytes));
    if (d.batchBytes >= kBatchBytes || d.batch.pages.size() >= kBatchPages)
        d.submitBatch();
}

bool PageIndexer::finish() {
    Impl& d = *impl_;
    d.submitBatch();
    {
        std::lock_guard lock(d.mutex);
        d.closing = true;
    }
    d.jobReady.notify_all();
    for (std::thread& t : d.workers)
        t.join();
    d.workers.clear();
    d.mergeReady();
    d.rethrowFailure();
    try {
        d.words->finish();
    } catch (const std::bad_alloc&) {
        d.complete = false;
    }
    return d.complete;
}

WordIndex& PageIndexer::words() {
    return *impl_->words;
}

const std::vector<std::string>& PageIndexer::titles() const {
    return impl_->titles;
}

} // namespace folvane::chm
