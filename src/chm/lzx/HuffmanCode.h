#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace folvane::chm::lzx {

// A canonical prefix code of limited length. Readers build full decoding tables, so every
// code this makes is complete: a tree with fewer than two used symbols gets dummy ones.
class HuffmanCode {
public:
    static constexpr int kMaxSymbols = 512;

    // Lengths from symbol frequencies, no code longer than maxLength.
    void build(std::span<const std::uint32_t> frequencies, int maxLength);
    // Takes lengths as they are (a complete code, e.g. an earlier block's).
    void assign(std::span<const std::uint8_t> lengths);

    int symbols() const { return symbols_; }
    std::span<const std::uint8_t> lengths() const { return {lengths_.data(), static_cast<std::size_t>(symbols_)}; }
    int length(int symbol) const { return lengths_[symbol]; }
    std::uint32_t code(int symbol) const { return codes_[symbol]; }

    // What the symbols cost in bits under this code.
    std::uint64_t cost(std::span<const std::uint32_t> frequencies) const;

private:
    void limitLengths(std::vector<int>& depths, int maxLength);
    void makeCodes();

    int symbols_ = 0;
    std::array<std::uint8_t, kMaxSymbols> lengths_{};
    std::array<std::uint32_t, kMaxSymbols> codes_{};
    std::vector<std::pair<std::uint32_t, int>> used_;
    std::vector<int> depths_;
};

} // namespace folvane::chm::lzx
