#include "chm/lzx/ParallelLzx.h"

#include <algorithm>
#include <exception>
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

ParallelLzx::ParallelLzx(WorkPipeline& work, Sink sink)
    : sink_(std::move(sink)), maxInFlight_(kSpansPerWorker * work.threads()), encoders_(work.threads()),
      spans_(work, [this](Job& job, unsigned thread) { compress(job, encoders_[thread]); }) {
    pending_.reserve(kLzxSpanSize);
}

void ParallelLzx::compress(Job& job, std::unique_ptr<LzxEncoder>& encoder) {
    try {
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
    } catch (...) {
        job.error = std::current_exception();
    }
}

bool ParallelLzx::deliverOldest(bool wait) {
    std::optional<Job> job = spans_.takeOldest(wait);
    if (!job)
        return false;
    if (job->error)
        std::rethrow_exception(job->error);
    if (job->last && bytesIn_ % kLzxFrameSize == 0)
        job->output.bytes.insert(job->output.bytes.end(), kReaderSlack, std::uint8_t{0});
    sink_(job->output);
    return true;
}

void ParallelLzx::submit(bool last) {
    while (deliverOldest(false)) {
    }
    while (spans_.size() >= maxInFlight_)
        deliverOldest(true);
    Job job;
    job.input.swap(pending_);
    job.last = last;
    job.padToSpan = last && job.input.size() == kLzxFrameSize;
    pending_.reserve(kLzxSpanSize);
    spans_.post(std::move(job));
}

void ParallelLzx::write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const std::size_t take = std::min(bytes.size(), kLzxSpanSize - pending_.size());
        pending_.insert(pending_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
        bytesIn_ += take;
        bytes = bytes.subspan(take);
        if (pending_.size() == kLzxSpanSize)
            submit(false);
    }
}

void ParallelLzx::finish() {
    if (!pending_.empty()) {
        submit(true);
    } else if (spans_.size() > 0) {
        // Spans are delivered only once the next one is submitted: the newest is the last.
        spans_.newest().last = true;
    }
    while (deliverOldest(true)) {
    }
}

} // namespace folvane::chm
