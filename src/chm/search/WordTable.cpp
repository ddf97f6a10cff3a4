#include "chm/search/WordTable.h"

#include <algorithm>
#include <cstring>

namespace folvane::chm {

namespace {

constexpr std::size_t kFirstSlots = 1024;

std::uint32_t load32(const char* p) {
    std::uint32_t v = 0;
    std::memcpy(&v, p, 4);
    return v;
}

std::uint64_t load64(const char* p) {
    std::uint64_t v = 0;
    std::memcpy(&v, p, 8);
    return v;
}

std::uint64_t mix(std::uint64_t h) {
    h *= 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
}

// Together with the length, tells words of up to eight bytes apart exactly: the loads
// overlap but cover every byte. Longer words get a hash.
std::uint64_t keyOf(std::string_view w) {
    const char* p = w.data();
    const std::size_t n = w.size();
    if (n == 0)
        return 0;
    if (n < 4) {
        return static_cast<unsigned char>(p[0]) |
               static_cast<std::uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8 |
               static_cast<std::uint64_t>(static_cast<unsigned char>(p[n - 1])) << 16;
    }
    if (n <= 8)
        return static_cast<std::uint64_t>(load32(p)) << 32 | load32(p + n - 4);
    std::uint64_t h = 0x2545F4914F6CDD1Dull;
    std::size_t i = 0;
    for (; i + 8 < n; i += 8)
        h = mix(h ^ load64(p + i));
    return mix(h ^ load64(p + n - 8));
}

std::uint32_t shapeOf(std::size_t length, bool flag) {
    return static_cast<std::uint32_t>(length << 1 | (flag ? 1 : 0));
}

std::size_t slotOf(std::uint64_t key, std::uint32_t shape, std::size_t mask) {
    return static_cast<std::size_t>(mix(key ^ shape ^ 0x632BE59BD9B4E019ull) >> 20) & mask;
}

} // namespace

WordTable::WordTable() : slots_(kFirstSlots) {}

void WordTable::clear() {
    bytes_.clear();
    entries_.clear();
    for (const std::uint32_t slot : used_)
        slots_[slot] = Slot{};
    used_.clear();
}

void WordTable::grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    used_.clear();
    for (const Slot& s : old) {
        if (s.id == 0)
            continue;
        std::size_t slot = slotOf(s.key, s.shape, mask);
        while (slots_[slot].id != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = s;
        used_.push_back(static_cast<std::uint32_t>(slot));
    }
}

WordTable::Found WordTable::insert(std::string_view word, bool flag) {
    const std::uint64_t key = keyOf(word);
    const std::uint32_t shape = shapeOf(word.size(), flag);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = slotOf(key, shape, mask);
    for (; slots_[slot].id != 0; slot = (slot + 1) & mask) {
        const Slot& s = slots_[slot];
        if (s.key == key && s.shape == shape &&
            (word.size() <= 8 || std::memcmp(bytes_.data() + entries_[s.id - 1].offset, word.data(), word.size()) == 0))
            return {s.id - 1, false};
    }
    const auto id = static_cast<std::uint32_t>(entries_.size());
    entries_.push_back({static_cast<std::uint32_t>(bytes_.size()), static_cast<std::uint32_t>(word.size()), flag});
    bytes_.append(word);
    slots_[slot] = {key, id + 1, shape};
    used_.push_back(static_cast<std::uint32_t>(slot));
    if (entries_.size() * 2 > slots_.size())
        grow();
    return {id, true};
}

} // namespace folvane::chm
