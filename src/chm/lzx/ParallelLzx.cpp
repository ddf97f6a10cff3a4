#include "chm/lzx/ParallelLzx.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace folvane::chm {

namespace {
// Spans compressed or waiting per worker: enough to keep every worker busy while the
// caller feeds and drains, little enough that memory stays a few hundred KiB a worker.
constexpr std::size_t kSpansPerWorker = 3;
// libmspack decodes one frame past a file that ends on a frame boundary and reads a few
// bytes past the last frame it decodes. When the whole stream ends on a frame boundary, a
// lone last frame is followed by the encoded zeros of the rest of its span (not listed as
// a frame), and the stream by this many zero bytes, so that the last file still reads.
constexpr std::size_t kReaderSlack = 4;
} // namespace

struct ParallelLzx::Impl {
    struct Job {
        std::vector<std::uint8_t> input;
        CompressedSpan output;
        std::exception_ptr error;
        bool done = false;
        bool padToSpan = false; // set before a worker sees the job
        bool last = false;      // the caller's alone
    };

    explicit Impl(Sink s) : sink(std::move(s)) {}
    ~Impl() { stop(); }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void start(unsigned threads);
    void stop();
    void work();
    void submit(bool last);
    // Hands the oldest span to the sink; false if it is not ready and wait is false.
    bool deliverOldest(bool wait);

    Sink sink;
    std::size_t maxInFlight = kSpansPerWorker;
    std::vector<std::uint8_t> pending;
    std::uint64_t bytesIn = 0;

    std::mutex mutex;
    std::condition_variable workAvailable;
    std::condition_variable jobDone;
    // Both under the mutex: every span not yet delivered, in stream order, and the ones no
    // worker has taken yet.
    std::deque<std::unique_ptr<Job>> inFlight;
    std::deque<Job*> queue;
    bool stopping = false;
    std::vector<std::thread> workers;
};

void ParallelLzx::Impl::start(unsigned threads) {
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    maxInFlight = kSpansPerWorker * threads;
    pending.reserve(kLzxSpanSize);
    for (unsigned i = 0; i < threads; ++i)
        workers.emplace_back([this] { work(); });
}

void ParallelLzx::Impl::stop() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    workAvailable.notify_all();
    for (std::thread& worker : workers)
        worker.join();
    workers.clear();
}

void ParallelLzx::Impl::work() {
    std::unique_ptr<LzxEncoder> encoder;
    for (;;) {
        Job* job = nullptr;
        {
            std::unique_lock lock(mutex);
            workAvailable.wait(lock, [this] { return stopping || !queue.empty(); });
            if (stopping)
                return;
            job = queue.front();
            queue.pop_front();
        }
        try {
            if (!encoder)
                encoder = std::make_unique<LzxEncoder>();
            if (job->padToSpan)
                job->input.resize(kLzxSpanSize, 0);
            encoder->compress(job->input, job->output);
            if (job->padToSpan) {
                // The padding frame is the second of the span.
                job->output.framesEnd = job->output.frameStarts.back();
                job->output.frameStarts.pop_back();
            }
        } catch (...) {
            job->error = std::current_exception();
        }
        {
            std::lock_guard lock(mutex);
            job->done = true;
        }
        jobDone.notify_one();
    }
}

bool ParallelLzx::Impl::deliverOldest(bool wait) {
    std::unique_ptr<Job> job;
    {
        std::unique_lock lock(mutex);
        if (inFlight.empty())
            return false;
        if (wait)
            jobDone.wait(lock, [this] { return inFlight.front()->done; });
        else if (!inFlight.front()->done)
            return false;
        job = std::move(inFlight.front());
        inFlight.pop_front();
    }
    if (job->error)
        std::rethrow_exception(job->error);
    if (job->last && bytesIn % kLzxFrameSize == 0)
        job->output.bytes.insert(job->output.bytes.end(), kReaderSlack, std::uint8_t{0});
    sink(job->output);
    return true;
}

void ParallelLzx::Impl::submit(bool last) {
    while (deliverOldest(false)) {
    }
    for (;;) {
        {
            std::lock_guard lock(mutex);
            if (inFlight.size() < maxInFlight)
                break;
        }
        deliverOldest(true);
    }
    auto job = std::make_unique<Job>();
    job->input.swap(pending);
    job->last = last;
    job->padToSpan = last && job->input.size() == kLzxFrameSize;
    pending.reserve(kLzxSpanSize);
    {
        std::lock_guard lock(mutex);
        queue.push_back(job.get());
        inFlight.push_back(std::move(job));
    }
    workAvailable.notify_one();
}

ParallelLzx::ParallelLzx(unsigned threads, Sink sink) : impl_(std::make_unique<Impl>(std::move(sink))) {
    impl_->start(threads);
}

ParallelLzx::~ParallelLzx() = default;

void ParallelLzx::write(std::span<const std::uint8_t> bytes) {
    Impl& d = *impl_;
    while (!bytes.empty()) {
        const std::size_t take = std::min(bytes.size(), kLzxSpanSize - d.pending.size());
        d.pending.insert(d.pending.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
        d.bytesIn += take;
        bytes = bytes.subspan(take);
        if (d.pending.size() == kLzxSpanSize)
            d.submit(false);
    }
}

void ParallelLzx::finish() {
    Impl& d = *impl_;
    if (!d.pending.empty()) {
        d.submit(true);
    } else {
        // Spans are delivered only once the next one is submitted: the newest is the last.
        std::lock_guard lock(d.mutex);
        if (!d.inFlight.empty())
            d.inFlight.back()->last = true;
    }
    while (d.deliverOldest(true)) {
    }
}

std::uint64_t ParallelLzx::bytesIn() const {
    return impl_->bytesIn;
}

} // namespace folvane::chm
