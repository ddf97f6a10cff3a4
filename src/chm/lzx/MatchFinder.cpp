#include "chm/lzx/MatchFinder.h"

#include "chm/lzx/LzxEncoder.h"
#include "chm/lzx/LzxFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace folvane::chm::lzx {

namespace {
constexpr int kHashBits = 15;

std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
} // namespace

MatchFinder::MatchFinder() : head_(std::size_t{1} << kHashBits, -1), previous_(kLzxSpanSize, -1) {}

void MatchFinder::reset(const std::uint8_t* data, std::uint32_t size) {
    data_ = data;
    size_ = size;
    std::fill(head_.begin(), head_.end(), -1);
}

std::uint32_t MatchFinder::hashAt(std::uint32_t pos) const {
    const std::uint32_t v = data_[pos] | (data_[pos + 1] << 8) | (data_[pos + 2] << 16);
    return (v * 0x9E3779B1u) >> (32 - kHashBits);
}

void MatchFinder::insert(std::uint32_t pos) {
    if (pos + 3 > size_)
        return;
    const std::uint32_t h = hashAt(pos);
    previous_[pos] = head_[h];
    head_[h] = static_cast<std::int32_t>(pos);
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

MatchFinder::Match MatchFinder::findAndInsert(std::uint32_t pos, int maxLength, int niceLength, int depth) {
    Match best;
    if (pos + 3 > size_)
        return best;
    const std::uint32_t h = hashAt(pos);
    std::int32_t candidate = head_[h];
    previous_[pos] = candidate;
    head_[h] = static_cast<std::int32_t>(pos);
    if (maxLength < 3)
        return best;
    int bestLength = 2;
    const std::uint8_t* here = data_ + pos;
    while (candidate >= 0 && depth-- > 0) {
        if (pos - static_cast<std::uint32_t>(candidate) > kMaxDistance)
            break;
        const std::uint8_t* there = data_ + candidate;
        if (there[bestLength] == here[bestLength] && there[0] == here[0] && there[1] == here[1]) {
            const int length = commonLength(static_cast<std::uint32_t>(candidate), pos, maxLength);
            if (length > bestLength) {
                bestLength = length;
                best.length = length;
                best.distance = pos - static_cast<std::uint32_t>(candidate);
                if (length >= niceLength || length == maxLength)
                    break;
            }
        }
        candidate = previous_[candidate];
    }
    return best;
}

} // namespace folvane::chm::lzx
