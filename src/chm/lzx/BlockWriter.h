#pragma once

#include "chm/lzx/BitWriter.h"
#include "chm/lzx/HuffmanCode.h"
#include "chm/lzx/Item.h"
#include "chm/lzx/LzxFormat.h"
#include "chm/lzx/TreeWriter.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace folvane::chm::lzx {

// Writes parsed items as verbatim or aligned-offset blocks, whichever is smaller, with
// trees sent as changes against the block before. Keeps the position in the span so it
// can realign the stream at every frame end.
class BlockWriter {
public:
    // The reader forgets its trees at the start of a span. size: whole frames.
    void startSpan(std::uint32_t size, BitWriter& out, std::vector<std::uint32_t>& frameStarts);
    // Bits the items would take as one block after the blocks written so far.
    std::uint64_t cost(std::span<const Item> items);
    void write(std::span<const Item> items);

private:
    struct Counts {
        std::array<std::uint32_t, kMainSymbols> main{};
        std::array<std::uint32_t, kLengthSymbols> length{};
        std::array<std::uint32_t, kAlignedSymbols> aligned{};
        std::uint64_t footerBits = 0;      // as a verbatim block sends them
        std::uint64_t alignedHighBits = 0; // what an aligned block still sends verbatim
        std::uint32_t bytes = 0;
        bool anyLength = false;
    };

    void count(std::span<const Item> items);
    // Builds the codes for counts_ and says whether the aligned block is the smaller.
    bool buildCodes();
    std::uint64_t treeCost();
    void writeTrees(bool aligned);
    void writeItems(std::span<const Item> items, bool aligned);

    BitWriter* out_ = nullptr;
    std::vector<std::uint32_t>* frameStarts_ = nullptr;
    std::uint32_t position_ = 0;
    std::uint32_t size_ = 0;
    Counts counts_;
    HuffmanCode main_;
    HuffmanCode length_;
    HuffmanCode aligned_;
    TreeWriter trees_;
    std::array<std::uint8_t, kMainSymbols> readerMain_{};
    std::array<std::uint8_t, kLengthSymbols> readerLength_{};
    bool readerHasLengthTree_ = false;
};

} // namespace folvane::chm::lzx
