#include "chm/platform/WorkPipeline.h"

#include <algorithm>
#include <atomic>
#include <exception>

namespace folvane::chm {

WorkPipeline::WorkPipeline(unsigned threads)
    : threads_(threads == 0 ? std::max(1u, std::thread::hardware_concurrency()) : threads) {
    for (unsigned i = 1; i < threads_; ++i)
        workers_.emplace_back([this] { serve(); });
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

void WorkPipeline::serve() {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        if (tasks_.empty())
            return;
        runFirst(lock);
        ended_.notify_all();
    }
}

void WorkPipeline::runFirst(std::unique_lock<std::mutex>& lock) noexcept {
    const std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
    lock.lock();
}

void WorkPipeline::post(std::function<void()> task) {
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
            runFirst(lock);
    }
}

void WorkPipeline::runOnAll(const std::function<void()>& work) {
    // Counted once posted, so that a post that fails is not waited for.
    std::atomic<unsigned> running = 0;
    std::exception_ptr failure;
    try {
        for (unsigned i = 1; i < threads_; ++i) {
            post([&work, &running] {
                work();
                --running;
            });
            ++running;
        }
        work();
    } catch (...) {
        failure = std::current_exception();
    }
    runUntil([&running] { return running == 0; });
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace folvane::chm
