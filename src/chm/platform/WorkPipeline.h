#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace folvane::chm {

// The threads of one compile, shared by compression, page indexing and the link scan, so
// that a compile runs as many threads as it is given in all. The caller's thread is one of
// them: whenever it waits for a result it runs queued tasks, and with one thread it runs
// them all. Tasks start in the order they were posted; their owners hand results on in
// that order.
class WorkPipeline {
public:
    // threads: in all, the caller's included; 0 for one per hardware thread.
    explicit WorkPipeline(unsigned threads);
    // Runs what is still queued, then stops the workers.
    ~WorkPipeline();
    WorkPipeline(const WorkPipeline&) = delete;
    WorkPipeline& operator=(const WorkPipeline&) = delete;

    unsigned threads() const { return threads_; }
    // A task must not throw: it keeps its failure for its owner.
    void post(std::function<void()> task);
    // Runs queued tasks on this thread until ready() holds; ready() is asked under the
    // pipeline's lock, first and after each task ends anywhere.
    void runUntil(const std::function<bool()>& ready);
    // Runs work on every thread at once and returns when each copy has ended.
    void runOnAll(const std::function<void()>& work);

private:
    void serve();
    // Runs the oldest task, the lock released meanwhile.
    void runFirst(std::unique_lock<std::mutex>& lock) noexcept;

    unsigned threads_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::condition_variable ended_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace folvane::chm
