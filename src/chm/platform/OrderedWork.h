#pragma once

#include "chm/platform/WorkPipeline.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <functional>
#include <optional>

namespace folvane::chm {

// Jobs done on a pipeline's threads and taken back in the order they were posted.
template <class Job> class OrderedWork {
public:
    // run is a WorkPipeline task for one job.
    OrderedWork(WorkPipeline& pipeline, std::function<void(Job&, unsigned thread)> run)
        : pipeline_(pipeline), run_(std::move(run)) {}
    // Waits for the jobs still running; their results are dropped.
    ~OrderedWork() {
        pipeline_.runUntil([this] {
            return std::all_of(slots_.begin(), slots_.end(), [](const Slot& slot) { return slot.done.load(); });
        });
    }
    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    void post(Job job) {
        Slot* slot = &slots_.emplace_back(std::move(job));
        try {
            pipeline_.post([this, slot](unsigned thread) {
                run_(slot->job, thread);
                slot->done = true;
            });
        } catch (...) {
            slots_.pop_back();
            throw;
        }
    }
    // The oldest job once it is done, waited for if asked; nothing when there is none.
    std::optional<Job> takeOldest(bool wait) {
        if (slots_.empty())
            return std::nullopt;
        const Slot& oldest = slots_.front();
        if (wait)
            pipeline_.runUntil([&oldest] { return oldest.done.load(); });
        else if (!oldest.done)
            return std::nullopt;
        std::optional<Job> job(std::move(slots_.front().job));
        slots_.pop_front();
        return job;
    }
    std::size_t size() const { return slots_.size(); }
    // Only what the job's run does not touch may change.
    Job& newest() { return slots_.back().job; }

private:
    struct Slot {
        explicit Slot(Job j) : job(std::move(j)) {}
        Job job;
        std::atomic<bool> done = false;
    };

    WorkPipeline& pipeline_;
    std::function<void(Job&, unsigned)> run_;
    // Elements of a deque stay in place while others come and go at its ends.
    std::deque<Slot> slots_;
};

} // namespace folvane::chm
