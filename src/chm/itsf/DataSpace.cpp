#include "chm/itsf/DataSpace.h"

#include "chm/itsf/ByteWriter.h"
#include "chm/itsf/Guid.h"
#include "chm/lzx/LzxEncoder.h"

#include <string_view>

namespace folvane::chm::dataspace {

namespace {
constexpr std::uint32_t kResetTableHeader = 0x28;

void utf16(ByteWriter& w, std::string_view ascii) {
    for (const char c : ascii)
        w.u16(static_cast<std::uint16_t>(c));
}
} // namespace

std::vector<std::uint8_t> nameList() {
    // Section 0 is stored as it is, section 1 compressed.
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    constexpr std::string_view names[] = {"Uncompressed", "MSCompressed"};
    w.u16(2 + 2 * (1 + 13)); // length in 16-bit words
    w.u16(2);
    for (const std::string_view name : names) {
        w.u16(static_cast<std::uint16_t>(name.size()));
        utf16(w, name);
        w.u16(0);
    }
    return out;
}

std::vector<std::uint8_t> controlData() {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.u32(6); // 32-bit words that follow
    w.text("LZXC");
    w.u32(2); // sizes below count 32 KiB frames
    w.u32(kLzxSpanSize / kLzxFrameSize);
    w.u32((1u << kLzxWindowBits) / kLzxFrameSize);
    w.u32(1);
    w.u32(0);
    return out;
}

std::vector<std::uint8_t> spanInfo(std::uint64_t uncompressedLength) {
    std::vector<std::uint8_t> out;
    ByteWriter(out).u64(uncompressedLength);
    return out;
}

std::vector<std::uint8_t> transformList() {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    utf16(w, kLzxTransformId);
    return out;
}

std::vector<std::uint8_t> resetTable(const std::vector<std::uint64_t>& frameStarts, std::uint64_t uncompressedLength,
                                     std::uint64_t compressedLength) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.u32(2);
    w.u32(static_cast<std::uint32_t>(frameStarts.size()));
    w.u32(8);
    w.u32(kResetTableHeader);
    w.u64(uncompressedLength);
    w.u64(compressedLength);
    w.u64(kLzxFrameSize);
    for (const std::uint64_t start : frameStarts)
        w.u64(start);
    return out;
}

} // namespace folvane::chm::dataspace
