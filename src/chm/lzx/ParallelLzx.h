#pragma once

#include "chm/lzx/LzxEncoder.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace folvane::chm {

class WorkPipeline;

// Cuts a byte stream into spans, compresses them on a pipeline's threads and hands them back
// in stream order. Spans in flight are bounded, so memory does not grow with the input.
class ParallelLzx {
public:
    // Receives each compressed span, in order, on the thread that calls write() or finish().
    using Sink = std::function<void(const CompressedSpan&)>;

    ParallelLzx(WorkPipeline& work, Sink sink);
    // Waits for the spans being compressed; those not yet handed to the sink are dropped.
    ~ParallelLzx();
    ParallelLzx(const ParallelLzx&) = delete;
    ParallelLzx& operator=(const ParallelLzx&) = delete;

    // Appends bytes to the stream. May block until workers catch up; may call the sink.
    // An exception thrown by the sink leaves through here (or finish()).
    void write(std::span<const std::uint8_t> bytes);
    // Compresses the last, partial span and delivers everything still pending. When the
    // stream ends on a frame boundary, the last span's bytes run on past its last frame:
    // some readers decode one frame further there.
    void finish();

    std::uint64_t bytesIn() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace folvane::chm
