#include "chm/lzx/ParallelLzx.h"

#include "chm/platform/WorkPipeline.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <exception>
#include <mutex>
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
        std::atomic<bool> done = false;
        bool padToSpan = false; // set before the job is posted
        bool last = false;      // the caller's alone
    };

    Impl(WorkPipeline& w, Sink s) : work(w), sink(std::move(s)), maxInFlight(kSpansPerWorker * w.threads()) {
        pending.reserve(kLzxSpanSize);
    }
    ~Impl() {
        work.runUntil([this] {
            return std::all_of(inFlight.begin(), inFlight.end(), [](const auto& job) { return job->done.load(); });
        });
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void compress(Job& job);
    void submit(bool last);
    // Hands the oldest span to the sink; false if it is not ready and wait is false.
    bool deliverOldest(bool wait);

    WorkPipeline& work;
    Sink sink;
    std::size_t maxInFlight;
    std::vector<std::uint8_t> pending;
    std::uint64_t bytesIn = 0;
    // Every span not yet delivered, in stream order; the caller's alone.
    std::deque<std::unique_ptr<Job>> inFlight;
    // Encoders kept for the next span, one per thread at most.
    std::mutex encodersMutex;
    std::vector<std::unique_ptr<LzxEncoder>> encoders;
};

void ParallelLzx::Impl::compress(Job& job) {
    std::unique_ptr<LzxEncoder> encoder;
    try {
        {
            std::lock_guard lock(encodersMutex);
            if (!encoders.empty()) {
                encoder = std::move(encoders.back());
                encoders.pop_back();
            }
        }
        if (!encoder)
            encoder = std::make_unique<LzxEncoder>();
        if (job.padToSpan)
            job.input.resize(kLzxSpanSize, 0);
        encoder->compress(job.input, job.output);
        if (job.padToSpan) {
            // The padding frame is the second of the span.
            job.output.framesEnd = job.output.frameStarts.back();
            job.output.frameStarts.pop_back();
        }
        std::lock_guard lock(encodersMutex);
        encoders.push_back(std::move(encoder));
    } catch (...) {
        job.error = std::current_exception();
    }
    job.done = true;
}

bool ParallelLzx::Impl::deliverOldest(bool wait) {
    if (inFlight.empty())
        return false;
    const Job& oldest = *inFlight.front();
    if (wait)
        work.runUntil([&oldest] { return oldest.done.load(); });
    else if (!oldest.done)
        return false;
    const std::unique_ptr<Job> job = std::move(inFlight.front());
    inFlight.pop_front();
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
    while (inFlight.size() >= maxInFlight)
        deliverOldest(true);
    auto job = std::make_unique<Job>();
    job->input.swap(pending);
    job->last = last;
    job->padToSpan = last && job->input.size() == kLzxFrameSize;
    pending.reserve(kLzxSpanSize);
    Job* posted = job.get();
    inFlight.push_back(std::move(job));
    try {
        work.post([this, posted] { compress(*posted); });
    } catch (...) {
        inFlight.pop_back();
        throw;
    }
}

ParallelLzx::ParallelLzx(WorkPipeline& work, Sink sink) : impl_(std::make_unique<Impl>(work, std::move(sink))) {}

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
    } else if (!d.inFlight.empty()) {
        // Spans are delivered only once the next one is submitted: the newest is the last.
        d.inFlight.back()->last = true;
    }
    while (d.deliverOldest(true)) {
    }
}

std::uint64_t ParallelLzx::bytesIn() const {
    return impl_->bytesIn;
}

} // namespace folvane::chm
