#pragma once

#include "chm/lzx/Item.h"
#include "chm/lzx/MatchFinder.h"
#include "chm/lzx/PriceModel.h"

#include <array>
#include <cstdint>
#include <vector>

namespace folvane::chm::lzx {

// Turns one span into literals and matches: lazy matching over hash chains, weighing
// each choice with the price model, the repeated offsets tried first.
class Parser {
public:
    // size: a whole number of frames. No match crosses a frame boundary.
    void parse(const std::uint8_t* data, std::uint32_t size, std::vector<Item>& items);
    // Literals only: the fallback that can never grow a frame past what readers accept.
    static void literals(const std::uint8_t* data, std::uint32_t size, std::vector<Item>& items);

private:
    // Chain candidates a search looks at.
    static constexpr int kChainDepth = 64;

    struct Choice {
        int length = 0;
        int gain = 0;
        int repeat = -1; // which repeated offset, or -1 for a new one
        std::uint32_t distance = 0;
    };

    Choice best(std::uint32_t pos);
    void emitLiteral(std::uint32_t pos, std::vector<Item>& items);
    void emitMatch(const Choice& choice, std::vector<Item>& items);

    MatchFinder finder_;
    PriceModel prices_;
    const std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
    std::array<std::uint32_t, kRepeatedOffsets> recent_{};
    std::array<MatchFinder::Match, kChainDepth + 1> found_{}; // the three-byte match, then the chain's
};

} // namespace folvane::chm::lzx
