#include "chm/platform/WorkPipeline.h"

#include <algorithm>

namespace folvane::chm {

WorkPipeline::WorkPipeline(unsigned threads)
    : threads_(threads == 0 ? std::max(1u, std::thread::hardware_concurrency()) : threads) {
    for (unsigned thread = 1; thread < threads_; ++thread)
        workers_.emplace_back([this, thread] { serve(thread); });
}

WorkPipeline::~WorkPipeline() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

void WorkPipeline::serve(unsigned thread) {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty())
            return;
        runFirst(lock, thread);
        ended_.notify_all();
    }
}

void WorkPipeline::runFirst(std::unique_lock<std::mutex>& lock, unsigned thread) noexcept {
    const Task task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task(thread);
    lock.lock();
}

void WorkPipeline::post(Task task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    queued_.notify_one();
}

void WorkPipeline::runUntil(const std::function<bool()>& ready) {
    std::unique_lock lock(mutex_);
    while (!ready()) {
        if (tasks_.empty())
            ended_.wait(lock);
        else
            runFirst(lock, 0);
    }
}

} // namespace folvane::chm
