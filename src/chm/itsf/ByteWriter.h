#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace folvane::chm {

// Appends the little-endian integers, ENCINTs and raw bytes the container is made of.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void u8(std::uint8_t value) { out_.push_back(value); }
    void u16(std::uint16_t value) { little(value, 2); }
    void u32(std::uint32_t value) { little(value, 4); }
    void u64(std::uint64_t value) { little(value, 8); }
    // Big-endian, for the one field the format stores that way.
    void u32be(std::uint32_t value);
    void bytes(std::span<const std::uint8_t> data);
    void text(std::string_view data);
    void zeros(std::size_t count) { out_.resize(out_.size() + count, 0); }
    // Seven bits per byte, most significant group first, high bit set on all but the last.
    void encint(std::uint64_t value);

    std::size_t size() const { return out_.size(); }

    static std::size_t encintSize(std::uint64_t value);

private:
    void little(std::uint64_t value, int count);
    void raw(const void* data, std::size_t size);

    std::vector<std::uint8_t>& out_;
};

// Overwrites a little-endian 32-bit value at a position already written.
void putU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value);

} // namespace folvane::chm
