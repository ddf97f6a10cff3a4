#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace folvane::chm {

// The threads of one compile, shared by the link scan, compression and page indexing, so
// that a compile runs as many threads as it is given in all. The thread that made it is one
// of them: whenever it waits for a result it runs queued tasks, and with one thread it runs
// them all. Tasks start in the order posted (OrderedWork hands their results on so).
class WorkPipeline {
public:
    // A task learns which thread runs it, 0 to threads() - 1, to keep tables per thread.
    // It must not throw: it keeps its failure for its owner.
    using Task = std::function<void(unsigned thread)>;

    // threads: in all, the caller's included; 0 for one per hardware thread.
    explicit WorkPipeline(unsigned threads);
    // Runs what is still queued, then stops the workers.
    ~WorkPipeline();
    WorkPipeline(const WorkPipeline&) = delete;
    WorkPipeline& operator=(const WorkPipeline&) = delete;

    unsigned threads() const { return threads_; }
    void post(Task task);
    // Runs queued tasks until ready() holds, which is asked under the pipeline's lock
    // after each task ends. Only the thread that made the pipeline calls it.
    void runUntil(const std::function<bool()>& ready);

private:
    void serve(unsigned thread);
    // Runs the oldest task, the lock released meanwhile.
    void runFirst(std::unique_lock<std::mutex>& lock, unsigned thread) noexcept;

    unsigned threads_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::condition_variable ended_;
    std::deque<Task> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace folvane::chm
