#include "chm/lzx/MatchFinder.h"

#include "chm/lzx/LzxEncoder.h"
#include "chm/lzx/LzxFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace folvane::chm::lzx {

namespace {
constexpr int kHash3Bits = 14;
constexpr int kHash4Bits = 16;
// Once a match this long is in hand, only a quarter of the remaining chain is walked.
constexpr int kGoodLength = 64;

std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
} // namespace

MatchFinder::MatchFinder()
    : head3_(std::size_t{1} << kHash3Bits), head4_(std::size_t{1} << kHash4Bits), step_(kLzxSpanSize) {}

void MatchFinder::reset(const std::uint8_t* data, std::uint32_t size) {
    data_ = data;
    size_ = size;
    std::fill(head3_.begin(), head3_.end(), std::uint16_t{0});
    std::fill(head4_.begin(), head4_.end(), std::uint16_t{0});
}

std::uint32_t MatchFinder::hash3(std::uint32_t pos) const {
    const std::uint32_t v = data_[pos] | (data_[pos + 1] << 8) | (data_[pos + 2] << 16);
    return (v * 0x9E3779B1u) >> (32 - kHash3Bits);
}

std::uint32_t MatchFinder::hash4(std::uint32_t pos) const {
    const std::uint32_t v =
        data_[pos] | (data_[pos + 1] << 8) | (data_[pos + 2] << 16) | (std::uint32_t{data_[pos + 3]} << 24);
    return (v * 0x9E3779B1u) >> (32 - kHash4Bits);
}

void MatchFinder::insert(std::uint32_t pos) {
    if (pos + 4 > size_)
        return;
    head3_[hash3(pos)] = static_cast<std::uint16_t>(pos);
    std::uint16_t& head = head4_[hash4(pos)];
    step_[pos] = static_cast<std::uint16_t>(pos - head);
    head = static_cast<std::uint16_t>(pos);
}

int MatchFinder::commonLength(std::uint32_t a, std::uint32_t b, int limit) const {
    int n = 0;
    while (n < limit) {
        const std::uint64_t diff = load64(data_ + a + n) ^ load64(data_ + b + n);
        if (diff != 0) {
            // The first differing byte is the lowest one on a little-endian machine.
            if constexpr (std::endian::native == std::endian::little)
                n += std::countr_zero(diff) / 8;
            else
                n += std::countl_zero(diff) / 8;
            return std::min(n, limit);
        }
        n += 8;
    }
    return limit;
}

int MatchFinder::findAndInsert(std::uint32_t pos, int maxLength, int niceLength, int depth, Match* out) {
    int count = 0;
    if (pos + 4 > size_)
        return 0;
    std::uint16_t& head3 = head3_[hash3(pos)];
    const std::uint32_t near = head3;
    head3 = static_cast<std::uint16_t>(pos);
    std::uint16_t& head = head4_[hash4(pos)];
    std::uint32_t candidate = head;
    step_[pos] = static_cast<std::uint16_t>(pos - candidate);
    head = static_cast<std::uint16_t>(pos);
    if (maxLength < 3 || pos == 0)
        return 0;
    int bestLength = 2;
    if (pos - near <= kMaxDistance) {
        const int length = commonLength(near, pos, maxLength);
        if (length >= 3) {
            bestLength = length;
            out[count++] = {length, pos - near};
        }
    }
    const std::uint8_t* here = data_ + pos;
    while (depth-- > 0 && bestLength < niceLength && bestLength < maxLength && pos - candidate <= kMaxDistance) {
        if (data_[candidate + static_cast<std::uint32_t>(bestLength)] == here[bestLength]) {
            const int length = commonLength(candidate, pos, maxLength);
            if (length > bestLength) {
                if (bestLength < kGoodLength && length >= kGoodLength)
                    depth /= 4;
                bestLength = length;
                out[count++] = {length, pos - candidate};
            }
        }
        const std::uint16_t step = step_[candidate];
        if (step == 0)
            break;
        candidate -= step;
    }
    return count;
}

} // namespace folvane::chm::lzx
