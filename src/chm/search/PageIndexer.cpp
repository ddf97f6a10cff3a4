#include "chm/search/PageIndexer.h"

#include "chm/search/PageTerms.h"
#include "chm/search/PageText.h"
#include "chm/search/WordBreaker.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <new>
#include <thread>

namespace folvane::chm {

namespace {

// Pages read but not yet merged: enough to keep the workers busy, few enough to keep
// memory flat.
constexpr std::size_t kMaxWaitingBytes = 48u << 20;
constexpr std::size_t kMaxWaitingPerThread = 16;

struct Job {
    std::uint32_t page = 0;
    std::string bytes;
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

    std::mutex mergeMutex;
    std::atomic<bool> complete = true;
    WordIndex words;
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
            try {
                Indexed result = indexPage(job.bytes, fallbackCodePage, scratch);
                std::lock_guard lock(mutex);
                done.emplace(job.page, std::move(result));
            } catch (const std::bad_alloc&) {
                // A page that cannot be read for words is stored unindexed: the help file
                // matters more than its index.
                complete = false;
                std::lock_guard lock(mutex);
                done.emplace(job.page, Indexed{{}, {}, job.bytes.size()});
            }
            mergeReady();
        }
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
                        words.addPage(page, std::move(next.terms));
                        titles.push_back(std::move(next.title));
                    } catch (const std::bad_alloc&) {
                        complete = false;
                        titles.resize(page + 1);
                    }
                    {
                        std::lock_guard lock(mutex);
                        ++merged;
                        waitingBytes -= next.bytes;
                    }
                    roomFree.notify_all();
                }
            }
            std::lock_guard lock(mutex);
            if (done.find(merged) == done.end())
                return;
        }
    }
};

PageIndexer::PageIndexer(unsigned threads, std::uint32_t fallbackCodePage) : impl_(std::make_unique<Impl>()) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    impl_->fallbackCodePage = fallbackCodePage;
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
    {
        std::unique_lock lock(d.mutex);
        d.roomFree.wait(lock, [&d] {
            const std::size_t waiting = d.added - d.merged;
            return waiting == 0 || (waiting < d.maxWaiting && d.waitingBytes < kMaxWaitingBytes);
        });
        d.waitingBytes += bytes.size();
        d.jobs.push_back({d.added++, std::move(bytes)});
    }
    d.jobReady.notify_one();
}

bool PageIndexer::finish() {
    Impl& d = *impl_;
    {
        std::lock_guard lock(d.mutex);
        d.closing = true;
    }
    d.jobReady.notify_all();
    for (std::thread& t : d.workers)
        t.join();
    d.workers.clear();
    d.mergeReady();
    try {
        d.words.finish();
    } catch (const std::bad_alloc&) {
        d.complete = false;
    }
    return d.complete;
}

const WordIndex& PageIndexer::words() const {
    return impl_->words;
}

const std::vector<std::string>& PageIndexer::titles() const {
    return impl_->titles;
}

} // namespace folvane::chm
