#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace folvane::chm {

// The LZX stream of a help file is cut into frames of 32 KiB; every second frame the
// encoder state resets, so each 64 KiB span (one window) decodes on its own.
constexpr std::size_t kLzxFrameSize = 0x8000;
constexpr std::size_t kLzxSpanSize = 0x10000;
constexpr int kLzxWindowBits = 16;

// One span compressed: the bytes, and where each of its frames begins in them (the first
// at 0). Readers start decoding at these offsets, so they go into the reset table.
struct CompressedSpan {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> frameStarts;
    // Where the frames listed end. Bytes after it serve only readers that decode past the
    // end of the stream; readers that take a frame's length from the next frame's start
    // must not count them.
    std::uint32_t framesEnd = 0;
};

// Compresses spans with a 64 KiB window. One encoder per thread: it keeps its tables
// between spans to spare allocations, but no state crosses a span.
class LzxEncoder {
public:
    LzxEncoder();
    ~LzxEncoder();
    LzxEncoder(const LzxEncoder&) = delete;
    LzxEncoder& operator=(const LzxEncoder&) = delete;

    // data: 1 to kLzxSpanSize bytes. A span shorter than a whole number of frames is
    // encoded as if padded with zero bytes to the end of its last frame, because readers
    // always decode whole frames.
    void compress(std::span<const std::uint8_t> data, CompressedSpan& out);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace folvane::chm
