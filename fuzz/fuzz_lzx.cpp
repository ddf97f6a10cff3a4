// LZX: any bytes come back unchanged through libmspack's and chmlib's decoders, and no
// frame grows past what chmlib accepts.
#include "FuzzCheck.h"
#include "chm/LzxReference.h"
#include "chm/lzx/ParallelLzx.h"
#include "chm/platform/WorkPipeline.h"

#include <algorithm>

using namespace folvane::chm;

namespace {
constexpr std::size_t kMaxStream = 3 * kLzxSpanSize + kLzxFrameSize / 2;

// The first byte stretches the rest: that many copies, each with one byte changed, so
// that short inputs still reach long matches, frame ends and later spans.
std::vector<std::uint8_t> stretch(const uint8_t* data, size_t size) {
    const std::vector<std::uint8_t> payload(data + 1, data + size);
    std::vector<std::uint8_t> out;
    const int copies = 1 + data[0];
    for (int k = 0; k < copies && out.size() < kMaxStream; ++k) {
        out.insert(out.end(), payload.begin(), payload.end());
        out[out.size() - 1 - (static_cast<std::size_t>(k) * 7919) % payload.size()] += static_cast<std::uint8_t>(k);
    }
    out.resize(std::min(out.size(), kMaxStream));
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const std::vector<std::uint8_t> stream = stretch(data, size);
    std::vector<CompressedSpan> spans;
    WorkPipeline work(1);
    ParallelLzx lzx(work, [&spans](const CompressedSpan& span) { spans.push_back(span); });
    lzx.write(stream);
    lzx.finish();
    for (const CompressedSpan& span : spans) {
        for (std::size_t f = 0; f < span.frameStarts.size(); ++f) {
            const std::size_t end = f + 1 < span.frameStarts.size() ? span.frameStarts[f + 1] : span.bytes.size();
            FUZZ_CHECK(end - span.frameStarts[f] <= kLzxFrameSize + 6144);
        }
    }
    std::vector<std::uint8_t> expected = stream;
    expected.resize(LzxReference::frames(spans) * kLzxFrameSize);
    FUZZ_CHECK(expected.size() >= stream.size() && expected.size() - stream.size() < kLzxFrameSize);
    if (LzxReference::haveMspack())
        FUZZ_CHECK(LzxReference::mspack(spans, stream.size()) == stream);
    if (LzxReference::haveChmlib())
        FUZZ_CHECK(LzxReference::chmlib(spans) == expected);
    return 0;
}
