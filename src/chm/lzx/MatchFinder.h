#pragma once

#include <cstdint>
#include <vector>

namespace folvane::chm::lzx {

// Hash chains over one span. Every position is inserted once, in order; a search looks
// back along the chain of positions that share its first four bytes, and at the latest
// position that shares three (a three-byte match pays only when it is near).
class MatchFinder {
public:
    struct Match {
        int length = 0;
        std::uint32_t distance = 0;
    };

    MatchFinder();

    // data must stay readable 8 bytes past size (length checks read whole words).
    void reset(const std::uint8_t* data, std::uint32_t size);
    // The matches at pos of at most maxLength bytes that each outdo the ones nearer, so
    // shortest and nearest first, into out (room for depth + 1); returns how many. Inserts
    // pos. Stops at niceLength or after depth candidates.
    int findAndInsert(std::uint32_t pos, int maxLength, int niceLength, int depth, Match* out);
    void insert(std::uint32_t pos);

    // Bytes in common at a and b, at most limit.
    int commonLength(std::uint32_t a, std::uint32_t b, int limit) const;

private:
    std::uint32_t hash3(std::uint32_t pos) const;
    std::uint32_t hash4(std::uint32_t pos) const;

    const std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
    // 16-bit entries keep the tables in cache. An empty head reads as position 0 and the
    // chain ends at a step of 0: at worst one needless compare with the first bytes.
    std::vector<std::uint16_t> head3_;
    std::vector<std::uint16_t> head4_;
    std::vector<std::uint16_t> step_; // back to the previous position with the same hash
};

} // namespace folvane::chm::lzx
