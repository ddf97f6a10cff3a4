#include "chm/lzx/Parser.h"

#include "chm/lzx/LzxEncoder.h"

#include <algorithm>
#include <utility>

namespace folvane::chm::lzx {

namespace {
// A match this long ends the search and takes the place without a look at the next one.
constexpr int kNiceLength = kMaxMatch;
// How often the prices catch up with what was parsed.
constexpr std::uint32_t kPriceInterval = 2048;

std::uint32_t frameEnd(std::uint32_t pos, std::uint32_t size) {
    return std::min<std::uint32_t>(size, (pos / kLzxFrameSize + 1) * kLzxFrameSize);
}
} // namespace

Parser::Choice Parser::best(std::uint32_t pos) {
    const int maxLength = static_cast<int>(std::min<std::uint32_t>(kMaxMatch, frameEnd(pos, size_) - pos));
    const int count = finder_.findAndInsert(pos, maxLength, kNiceLength, kChainDepth, found_.data());
    Choice choice;
    if (maxLength < kMinMatch)
        return choice;
    const int average = prices_.averageLiteral();
    for (int k = 0; k < kRepeatedOffsets; ++k) {
        if (recent_[k] > pos)
            continue;
        const int length = finder_.commonLength(pos, pos - recent_[k], maxLength);
        if (length < kMinMatch)
            continue;
        const int gain = length * average - prices_.match(k, length);
        if (gain > choice.gain)
            choice = {length, gain, k, recent_[k]};
    }
    // A shorter match nearer by can beat the longest: its offset costs fewer bits.
    for (int j = 0; j < count; ++j) {
        const auto [length, distance] = found_[j];
        if (distance == recent_[0] || distance == recent_[1] || distance == recent_[2])
            continue;
        const int gain = length * average - prices_.match(positionSlot(formattedOffset(distance)), length);
        if (gain > choice.gain)
            choice = {length, gain, -1, distance};
    }
    return choice;
}

void Parser::emitLiteral(std::uint32_t pos, std::vector<Item>& items) {
    items.push_back({data_[pos], 1, 0});
    prices_.countLiteral(data_[pos]);
}

void Parser::emitMatch(const Choice& choice, std::vector<Item>& items) {
    int slot = choice.repeat;
    std::uint32_t footer = 0;
    if (choice.repeat < 0) {
        const std::uint32_t formatted = formattedOffset(choice.distance);
        slot = positionSlot(formatted);
        footer = formatted - slotBase(slot);
        recent_[2] = recent_[1];
        recent_[1] = recent_[0];
        recent_[0] = choice.distance;
    } else if (choice.repeat > 0) {
        std::swap(recent_[0], recent_[choice.repeat]);
    }
    items.push_back({static_cast<std::uint16_t>(mainSymbol(slot, choice.length)),
                     static_cast<std::uint16_t>(choice.length), footer});
    prices_.countMatch(slot, choice.length);
}

void Parser::parse(const std::uint8_t* data, std::uint32_t size, std::vector<Item>& items) {
    data_ = data;
    size_ = size;
    recent_ = {1, 1, 1};
    finder_.reset(data, size);
    prices_.reset();
    std::uint32_t nextPriceUpdate = kPriceInterval;
    std::uint32_t pos = 0;
    Choice current = best(0);
    while (pos < size) {
        if (pos >= nextPriceUpdate) {
            prices_.update();
            nextPriceUpdate += kPriceInterval;
        }
        if (current.length == 0) {
            emitLiteral(pos, items);
            if (++pos < size)
                current = best(pos);
            continue;
        }
        if (current.length < kNiceLength && pos + 1 < size) {
            const Choice next = best(pos + 1);
            const int literalLoss = prices_.literal(data[pos]) - prices_.averageLiteral();
            if (next.gain - literalLoss > current.gain) {
                emitLiteral(pos, items);
                ++pos;
                current = next;
                continue;
            }
            emitMatch(current, items);
            for (std::uint32_t p = pos + 2; p < pos + current.length; ++p)
                finder_.insert(p);
        } else {
            emitMatch(current, items);
            for (std::uint32_t p = pos + 1; p < pos + current.length; ++p)
                finder_.insert(p);
        }
        pos += static_cast<std::uint32_t>(current.length);
        current = pos < size ? best(pos) : Choice{};
    }
}

void Parser::literals(const std::uint8_t* data, std::uint32_t size, std::vector<Item>& items) {
    for (std::uint32_t pos = 0; pos < size; ++pos)
        items.push_back({data[pos], 1, 0});
}

} // namespace folvane::chm::lzx
