#include "chm/platform/ScratchFile.h"

#include "chm/platform/PositionedIo.h"

namespace folvane::chm {

void ScratchFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (!writeAllAt(handle_, offset, bytes))
        fail("无法写入临时文件");
}

void ScratchFile::readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) const {
    if (!readAllAt(handle_, offset, bytes))
        fail("无法读取临时文件");
}

} // namespace folvane::chm
