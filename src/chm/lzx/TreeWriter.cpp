#include "chm/lzx/TreeWriter.h"

#include "chm/lzx/LzxFormat.h"

#include <array>

namespace folvane::chm::lzx {

namespace {
constexpr int kShortZeros = 4; // symbol 17: 4 to 19 zeros
constexpr int kLongZeros = 20; // symbol 18: 20 to 51 zeros
constexpr int kMaxZeros = 51;
constexpr int kShortSame = 4; // symbol 19: 4 or 5 equal lengths
constexpr int kMaxSame = 5;

std::uint8_t change(std::uint8_t previous, std::uint8_t length) {
    return static_cast<std::uint8_t>((previous - length + 17) % 17);
}
} // namespace

void TreeWriter::tokenize(std::span<const std::uint8_t> lengths, std::span<const std::uint8_t> previous) {
    tokens_.clear();
    const std::size_t n = lengths.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        if (lengths[i] == 0) {
            while (i + run < n && lengths[i + run] == 0)
                ++run;
        } else {
            // Readers apply a 19's change to the first old length only, so a run must
            // agree in old lengths too for every reader to rebuild the same values.
            while (i + run < n && lengths[i + run] == lengths[i] && previous[i + run] == previous[i])
                ++run;
        }
        if (lengths[i] == 0 && run >= kShortZeros) {
            while (run >= kShortZeros) {
                std::size_t take = std::min<std::size_t>(run, kMaxZeros);
                // Leave no tail of one to three that would need single symbols.
                if (run - take > 0 && run - take < kShortZeros)
                    take = run - kShortZeros;
                if (take >= kLongZeros)
                    tokens_.push_back({18, 5, static_cast<std::uint8_t>(take - kLongZeros), 0});
                else
                    tokens_.push_back({17, 4, static_cast<std::uint8_t>(take - kShortZeros), 0});
                i += take;
                run -= take;
            }
        } else if (lengths[i] != 0 && run >= kShortSame) {
            while (run >= kShortSame) {
                const std::size_t take = std::min<std::size_t>(run, kMaxSame);
                tokens_.push_back(
                    {19, 1, static_cast<std::uint8_t>(take - kShortSame), change(previous[i], lengths[i])});
                i += take;
                run -= take;
            }
        }
        for (; run > 0; --run, ++i)
            tokens_.push_back({change(previous[i], lengths[i]), 0, 0, 0});
    }
}

void TreeWriter::write(std::span<const std::uint8_t> lengths, std::span<const std::uint8_t> previous, BitWriter& out) {
    tokenize(lengths, previous);
    std::array<std::uint32_t, kPretreeSymbols> frequencies{};
    for (const Token& t : tokens_) {
        ++frequencies[t.symbol];
        if (t.symbol == 19)
            ++frequencies[t.change];
    }
    pretree_.build(frequencies, kMaxPretreeLength);
    for (int s = 0; s < kPretreeSymbols; ++s)
        out.write(pretree_.length(s), 4);
    for (const Token& t : tokens_) {
        out.write(pretree_.code(t.symbol), pretree_.length(t.symbol));
        out.write(t.extra, t.extraBits);
        if (t.symbol == 19)
            out.write(pretree_.code(t.change), pretree_.length(t.change));
    }
}

std::uint64_t TreeWriter::cost(std::span<const std::uint8_t> lengths, std::span<const std::uint8_t> previous) {
    tokenize(lengths, previous);
    std::array<std::uint32_t, kPretreeSymbols> frequencies{};
    std::uint64_t extra = 0;
    for (const Token& t : tokens_) {
        ++frequencies[t.symbol];
        extra += t.extraBits;
        if (t.symbol == 19)
            ++frequencies[t.change];
    }
    pretree_.build(frequencies, kMaxPretreeLength);
    return kPretreeSymbols * 4 + pretree_.cost(frequencies) + extra;
}

} // namespace folvane::chm::lzx
