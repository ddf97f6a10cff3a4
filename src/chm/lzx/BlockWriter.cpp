#include "chm/lzx/BlockWriter.h"

#include "chm/lzx/LzxEncoder.h"

#include <algorithm>

namespace folvane::chm::lzx {

namespace {
constexpr int kBlockHeaderBits = 3 + 24;
constexpr int kAlignedTreeBits = kAlignedSymbols * 3;
constexpr int kAlignedLowBits = 3;

std::span<const std::uint8_t> part(std::span<const std::uint8_t> all, int first, int last) {
    return all.subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first));
}
} // namespace

void BlockWriter::startSpan(std::uint32_t size, BitWriter& out, std::vector<std::uint32_t>& frameStarts) {
    out_ = &out;
    frameStarts_ = &frameStarts;
    position_ = 0;
    size_ = size;
    readerMain_.fill(0);
    readerLength_.fill(0);
    readerHasLengthTree_ = false;
}

void BlockWriter::count(std::span<const Item> items) {
    counts_ = Counts{};
    for (const Item& item : items) {
        ++counts_.main[item.symbol];
        counts_.bytes += item.length;
        if (!item.isMatch())
            continue;
        if (hasLengthSymbol(item.length)) {
            ++counts_.length[lengthSymbol(item.length)];
            counts_.anyLength = true;
        }
        const int bits = footerBits(item.slot());
        counts_.footerBits += static_cast<std::uint64_t>(bits);
        if (bits >= kAlignedLowBits) {
            ++counts_.aligned[item.footer & 7];
            counts_.alignedHighBits += static_cast<std::uint64_t>(bits - kAlignedLowBits);
        } else {
            counts_.alignedHighBits += static_cast<std::uint64_t>(bits);
        }
    }
}

bool BlockWriter::buildCodes() {
    main_.build(counts_.main, kMaxCodeLength);
    if (counts_.anyLength || !readerHasLengthTree_) {
        // With no long matches the tree is still sent whole: not every reader takes an empty one.
        length_.build(counts_.length, kMaxCodeLength);
    } else {
        // Nothing to say about lengths: the reader keeps the tree it has, for free.
        length_.assign(readerLength_);
    }
    aligned_.build(counts_.aligned, kMaxAlignedLength);
    const std::uint64_t alignedBits = kAlignedTreeBits + counts_.alignedHighBits + aligned_.cost(counts_.aligned);
    return alignedBits < counts_.footerBits;
}

std::uint64_t BlockWriter::treeCost() {
    const auto lengths = main_.lengths();
    return trees_.cost(part(lengths, 0, kLiterals), part(readerMain_, 0, kLiterals)) +
           trees_.cost(part(lengths, kLiterals, kMainSymbols), part(readerMain_, kLiterals, kMainSymbols)) +
           trees_.cost(length_.lengths(), readerLength_);
}

std::uint64_t BlockWriter::cost(std::span<const Item> items) {
    count(items);
    const bool aligned = buildCodes();
    const std::uint64_t footers =
        aligned ? kAlignedTreeBits + counts_.alignedHighBits + aligned_.cost(counts_.aligned) : counts_.footerBits;
    return kBlockHeaderBits + treeCost() + main_.cost(counts_.main) + length_.cost(counts_.length) + footers;
}

void BlockWriter::writeTrees(bool aligned) {
    if (aligned) {
        for (int s = 0; s < kAlignedSymbols; ++s)
            out_->write(aligned_.length(s), 3);
    }
    const auto lengths = main_.lengths();
    trees_.write(part(lengths, 0, kLiterals), part(readerMain_, 0, kLiterals), *out_);
    trees_.write(part(lengths, kLiterals, kMainSymbols), part(readerMain_, kLiterals, kMainSymbols), *out_);
    trees_.write(length_.lengths(), readerLength_, *out_);
    std::copy(lengths.begin(), lengths.end(), readerMain_.begin());
    std::copy(length_.lengths().begin(), length_.lengths().end(), readerLength_.begin());
    readerHasLengthTree_ = true;
}

void BlockWriter::writeItems(std::span<const Item> items, bool aligned) {
    BitWriter& out = *out_;
    for (const Item& item : items) {
        out.write(main_.code(item.symbol), main_.length(item.symbol));
        if (item.isMatch()) {
            if (hasLengthSymbol(item.length)) {
                const int symbol = lengthSymbol(item.length);
                out.write(length_.code(symbol), length_.length(symbol));
            }
            const int bits = footerBits(item.slot());
            if (aligned && bits >= kAlignedLowBits) {
                out.write(item.footer >> kAlignedLowBits, bits - kAlignedLowBits);
                out.write(aligned_.code(item.footer & 7), aligned_.length(item.footer & 7));
            } else {
                out.write(item.footer, bits);
            }
        }
        position_ += item.length;
        if (position_ % kLzxFrameSize == 0) {
            // Readers start every frame on a word of its own.
            out.alignToWord();
            if (position_ < size_)
                frameStarts_->push_back(static_cast<std::uint32_t>(out.bytesWritten()));
        }
    }
}

void BlockWriter::write(std::span<const Item> items) {
    count(items);
    const bool aligned = buildCodes();
    out_->write(static_cast<std::uint32_t>(aligned ? BlockType::Aligned : BlockType::Verbatim), 3);
    out_->write(counts_.bytes >> 8, 16);
    out_->write(counts_.bytes & 0xFF, 8);
    writeTrees(aligned);
    writeItems(items, aligned);
}

} // namespace folvane::chm::lzx
