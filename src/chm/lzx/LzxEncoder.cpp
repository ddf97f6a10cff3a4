#include "chm/lzx/LzxEncoder.h"

#include "chm/lzx/BitWriter.h"
#include "chm/lzx/BlockWriter.h"
#include "chm/lzx/Item.h"
#include "chm/lzx/Parser.h"

#include <algorithm>
#include <stdexcept>

namespace folvane::chm {

namespace {
// Word compares in the match finder may read this far past the span.
constexpr std::size_t kReadSlack = 16;
// chmlib refuses a frame that compressed to more than this.
constexpr std::size_t kMaxFrameBytes = kLzxFrameSize + 6144;
} // namespace

struct LzxEncoder::State {
    std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(kLzxSpanSize + kReadSlack);
    std::vector<lzx::Item> items;
    lzx::Parser parser;
    lzx::BlockWriter blocks;

    void encode(std::uint32_t size, CompressedSpan& out);
};

LzxEncoder::LzxEncoder() : state_(std::make_unique<State>()) {}

LzxEncoder::~LzxEncoder() = default;

void LzxEncoder::State::encode(std::uint32_t size, CompressedSpan& out) {
    out.bytes.clear();
    out.frameStarts.assign(1, 0);
    lzx::BitWriter bits(out.bytes);
    bits.write(0, 1); // no E8 call translation
    blocks.startSpan(size, bits, out.frameStarts);
    blocks.write(items);
}

namespace {
bool framesFit(const CompressedSpan& span) {
    for (std::size_t i = 0; i < span.frameStarts.size(); ++i) {
        const std::size_t end = i + 1 < span.frameStarts.size() ? span.frameStarts[i + 1] : span.bytes.size();
        if (end - span.frameStarts[i] > kMaxFrameBytes)
            return false;
    }
    return true;
}
} // namespace

void LzxEncoder::compress(std::span<const std::uint8_t> data, CompressedSpan& out) {
    if (data.empty() || data.size() > kLzxSpanSize)
        throw std::invalid_argument("LZX span of 1 to 65536 bytes expected");
    State& s = *state_;
    const auto size = static_cast<std::uint32_t>((data.size() + kLzxFrameSize - 1) / kLzxFrameSize * kLzxFrameSize);
    std::copy(data.begin(), data.end(), s.buffer.begin());
    std::fill(s.buffer.begin() + static_cast<std::ptrdiff_t>(data.size()), s.buffer.end(), std::uint8_t{0});
    s.items.clear();
    s.parser.parse(s.buffer.data(), size, s.items);
    s.encode(size, out);
    if (!framesFit(out)) {
        s.items.clear();
        lzx::Parser::literals(s.buffer.data(), size, s.items);
        s.encode(size, out);
    }
    out.framesEnd = static_cast<std::uint32_t>(out.bytes.size());
}

} // namespace folvane::chm
