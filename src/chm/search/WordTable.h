#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// Words, each with a flag (in a title or not), numbered in the order they first come: the
// lookup the index makes for every word of every page, so an open-addressing table where a
// word of up to eight bytes is compared as one number.
class WordTable {
public:
    struct Found {
        std::uint32_t id;
        bool added;
    };

    WordTable();

    Found insert(std::string_view word, bool flag);
    std::string_view word(std::uint32_t id) const {
        const Entry& e = entries_[id];
        return {bytes_.data() + e.offset, e.length};
    }
    bool flag(std::uint32_t id) const { return entries_[id].flag; }
    std::size_t size() const { return entries_.size(); }
    // Empties the table and keeps its room.
    void clear();
    // Bytes the table holds, for a memory budget.
    std::size_t memoryBytes() const {
        return bytes_.capacity() + entries_.capacity() * sizeof(Entry) + slots_.capacity() * sizeof(Slot) +
               used_.capacity() * sizeof(std::uint32_t);
    }

private:
    struct Entry {
        std::uint32_t offset;
        std::uint32_t length;
        bool flag;
    };
    // What a lookup compares, in the slot itself: one memory access for most words.
    struct Slot {
        std::uint64_t key = 0;
        std::uint32_t id = 0;    // word number + 1; 0 for a free slot
        std::uint32_t shape = 0; // length and flag
    };

    void grow();

    std::string bytes_;
    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
    // Slots in use, so that clear() empties only them.
    std::vector<std::uint32_t> used_;
};

} // namespace folvane::chm
