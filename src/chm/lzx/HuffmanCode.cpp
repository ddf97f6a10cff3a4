#include "chm/lzx/HuffmanCode.h"

#include "chm/lzx/LzxFormat.h"

#include <algorithm>

namespace folvane::chm::lzx {

namespace {

// Optimal code lengths in place (Moffat and Katajainen): weights sorted ascending in,
// depths out, the deepest first.
void minimumRedundancyDepths(std::vector<int>& a) {
    const int n = static_cast<int>(a.size());
    a[0] += a[1];
    int root = 0;
    int leaf = 2;
    for (int next = 1; next < n - 1; ++next) {
        if (leaf >= n || a[root] < a[leaf]) {
            a[next] = a[root];
            a[root++] = next;
        } else {
            a[next] = a[leaf++];
        }
        if (leaf >= n || (root < next && a[root] < a[leaf])) {
            a[next] += a[root];
            a[root++] = next;
        } else {
            a[next] += a[leaf++];
        }
    }
    a[n - 2] = 0;
    for (int next = n - 3; next >= 0; --next)
        a[next] = a[a[next]] + 1;
    int available = 1;
    int used = 0;
    int depth = 0;
    root = n - 2;
    int next = n - 1;
    while (available > 0) {
        while (root >= 0 && a[root] == depth) {
            ++used;
            --root;
        }
        while (available > used) {
            a[next--] = depth;
            --available;
        }
        available = 2 * used;
        ++depth;
        used = 0;
    }
}

} // namespace

void HuffmanCode::build(std::span<const std::uint32_t> frequencies, int maxLength) {
    symbols_ = static_cast<int>(frequencies.size());
    std::fill(lengths_.begin(), lengths_.end(), std::uint8_t{0});
    used_.clear();
    for (int s = 0; s < symbols_; ++s) {
        if (frequencies[s] > 0)
            used_.emplace_back(frequencies[s], s);
    }
    if (used_.size() < 2) {
        // Two codes of one bit: the used symbol (if any) and a neighbour.
        const int first = used_.empty() ? 0 : used_.front().second;
        lengths_[first] = 1;
        lengths_[first == 0 ? 1 : 0] = 1;
        makeCodes();
        return;
    }
    std::sort(used_.begin(), used_.end());
    depths_.resize(used_.size());
    for (std::size_t i = 0; i < used_.size(); ++i) {
        // Weights fit an int: at most 64 Ki symbols are counted per tree.
        depths_[i] = static_cast<int>(used_[i].first);
    }
    minimumRedundancyDepths(depths_);
    limitLengths(depths_, maxLength);
    for (std::size_t i = 0; i < used_.size(); ++i)
        lengths_[used_[i].second] = static_cast<std::uint8_t>(depths_[i]);
    makeCodes();
}

// Depths come deepest first; they leave complete and no deeper than maxLength, still in
// non-increasing order so the rarest symbols keep the longest codes.
void HuffmanCode::limitLengths(std::vector<int>& depths, int maxLength) {
    if (depths.front() <= maxLength)
        return;
    std::array<int, 64> count{};
    for (int d : depths)
        ++count[std::min(d, maxLength)];
    const std::uint64_t full = std::uint64_t{1} << maxLength;
    auto kraft = [&] {
        std::uint64_t sum = 0;
        for (int len = 1; len <= maxLength; ++len)
            sum += static_cast<std::uint64_t>(count[len]) << (maxLength - len);
        return sum;
    };
    std::uint64_t sum = kraft();
    // Over-full: push the deepest leaves that can still go down one level.
    while (sum > full) {
        int len = maxLength - 1;
        while (count[len] == 0)
            --len;
        --count[len];
        ++count[len + 1];
        sum -= std::uint64_t{1} << (maxLength - len - 1);
    }
    // Under-full: lift leaves while the room allows.
    for (int len = maxLength; len > 1 && sum < full; --len) {
        while (count[len] > 0 && sum + (std::uint64_t{1} << (maxLength - len)) <= full) {
            --count[len];
            ++count[len - 1];
            sum += std::uint64_t{1} << (maxLength - len);
        }
    }
    std::size_t i = 0;
    for (int len = maxLength; len >= 1; --len) {
        for (int k = 0; k < count[len]; ++k)
            depths[i++] = len;
    }
}

void HuffmanCode::assign(std::span<const std::uint8_t> lengths) {
    symbols_ = static_cast<int>(lengths.size());
    std::fill(lengths_.begin(), lengths_.end(), std::uint8_t{0});
    std::copy(lengths.begin(), lengths.end(), lengths_.begin());
    makeCodes();
}

// Canonical order: shorter codes first, equal lengths by symbol, as the readers' tables.
void HuffmanCode::makeCodes() {
    // Plain pointers: GCC 12 at -O2 drops the stores of an int-indexed loop from one
    // member array into another here (its summary of the function misses them).
    const std::uint8_t* lengths = lengths_.data();
    std::uint32_t* codes = codes_.data();
    const auto n = static_cast<std::size_t>(symbols_);
    std::array<std::uint32_t, kMaxCodeLength + 1> next{};
    for (std::size_t s = 0; s < n; ++s)
        ++next[lengths[s]];
    // From the count of codes of each length to the first code of that length.
    std::uint32_t code = 0;
    next[0] = 0;
    for (std::size_t len = 1; len <= kMaxCodeLength; ++len) {
        const std::uint32_t count = next[len];
        next[len] = code;
        code = (code + count) << 1;
    }
    for (std::size_t s = 0; s < n; ++s) {
        if (lengths[s] > 0)
            codes[s] = next[lengths[s]]++;
    }
}

std::uint64_t HuffmanCode::cost(std::span<const std::uint32_t> frequencies) const {
    std::uint64_t bits = 0;
    for (std::size_t s = 0; s < frequencies.size(); ++s)
        bits += static_cast<std::uint64_t>(frequencies[s]) * lengths_[s];
    return bits;
}

} // namespace folvane::chm::lzx
