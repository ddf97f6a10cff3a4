#include "chm/itsf/ByteWriter.h"

#include <cstring>

namespace folvane::chm {

void ByteWriter::little(std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i)
        out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void ByteWriter::raw(const void* data, std::size_t size) {
    if (size == 0)
        return;
    const std::size_t at = out_.size();
    out_.resize(at + size);
    std::memcpy(out_.data() + at, data, size);
}

void ByteWriter::bytes(std::span<const std::uint8_t> data) {
    raw(data.data(), data.size());
}

void ByteWriter::text(std::string_view data) {
    raw(data.data(), data.size());
}

void ByteWriter::u32be(std::uint32_t value) {
    for (int i = 3; i >= 0; --i)
        out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::size_t ByteWriter::encintSize(std::uint64_t value) {
    std::size_t size = 1;
    while (value >>= 7)
        ++size;
    return size;
}

void ByteWriter::encint(std::uint64_t value) {
    for (std::size_t group = encintSize(value); group-- > 0;) {
        const auto bits = static_cast<std::uint8_t>((value >> (7 * group)) & 0x7F);
        out_.push_back(group > 0 ? bits | 0x80 : bits);
    }
}

void putU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace folvane::chm
