#include "chm/lzx/ParallelLzx.h"

#include "chm/platform/OrderedWork.h"

#include <algorithm>
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
        bool padToSpan = false;
        bool last = false; // the caller's alone
    };

    Impl(WorkPipeline& work, Sink s)
        : sink(std::move(s)), maxInFlight(kSpansPerWorker * work.threads()),
          spans(work, [this](Job& job) { compress(job); }) {
        pending.reserve(kLzxSpanSize);
    }

    void compress(Job& job);
    void submit(bool last);
    // Hands the oldest span to the sink; false if it is not ready and wait is false.
    bool deliverOldest(bool wait);

    Sink sink;
    std::size_t maxInFlight;
    std::vector<std::uint8_t> pending;
    std::uint64_t bytesIn = 0;
    // Encoders kept for the next span, one per thread at most.
    std::mutex encodersMutex;
    std::vector<std::unique_ptr<LzxEncoder>> encoders;
    // Every span not yet delivered, in stream order.
    OrderedWork<Job> spans;
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
}

bool ParallelLzx::Impl::deliverOldest(bool wait) {
    std::optional<Job> job = spans.takeOldest(wait);
    if (!job)
        return false;
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
    while (spans.size() >= maxInFlight)
        deliverOldest(true);
    Job job;
    job.input.swap(pending);
    job.last = last;
    job.padToSpan = last && job.input.size() == kLzxFrameSize;
    pending.reserve(kLzxSpanSize);
    spans.post(std::move(job));
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
    } else if (d.spans.size() > 0) {
        // Spans are delivered only once the next one is submitted: the newest is the last.
        d.spans.newest().last = true;
    }
    while (d.deliverOldest(true)) {
    }
}

std::uint64_t ParallelLzx::bytesIn() const {
    return impl_->bytesIn;
}

} // namespace folvane::chm
