#pragma once

#include "chm/lzx/LzxEncoder.h"
#include "chm/platform/OrderedWork.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace folvane::chm {

// Cuts a byte stream into spans, compresses them on a pipeline's threads and hands them back
// in stream order. Spans in flight are bounded, so memory does not grow with the input.
class ParallelLzx {
public:
    // Receives each compressed span, in order, on the thread that calls write() or finish().
    using Sink = std::function<void(const CompressedSpan&)>;

    ParallelLzx(WorkPipeline& work, Sink sink);
    // Destroyed, it waits for the spans being compressed and drops those not yet delivered.

    // Appends bytes to the stream. May block until workers catch up; may call the sink.
    // An exception thrown by the sink leaves through here (or finish()).
    void write(std::span<const std::uint8_t> bytes);
    // Compresses the last, partial span and delivers everything still pending. When the
    // stream ends on a frame boundary, the last span's bytes run on past its last frame:
    // some readers decode one frame further there.
    void finish();

    std::uint64_t bytesIn() const { return bytesIn_; }

private:
    struct Job {
        std::vector<std::uint8_t> input;
        CompressedSpan output;
        std::exception_ptr error;
        bool padToSpan = false;
        bool last = false; // the caller's alone
    };

    void compress(Job& job, std::unique_ptr<LzxEncoder>& encoder);
    void submit(bool last);
    // Hands the oldest span to the sink; false if it is not ready and wait is false.
    bool deliverOldest(bool wait);

    Sink sink_;
    std::size_t maxInFlight_;
    std::vector<std::uint8_t> pending_;
    std::uint64_t bytesIn_ = 0;
    // Each thread's, kept for its next span.
    std::vector<std::unique_ptr<LzxEncoder>> encoders_;
    // Every span not yet delivered, in stream order.
    OrderedWork<Job> spans_;
};

} // namespace folvane::chm
