#pragma once

#include <cstdint>
#include <span>

namespace folvane::chm {

// All of bytes written at (read from) offset of an open file, whatever the system hands over
// per call; false with the system's error set when it cannot. A write that takes nothing is
// a full disk, a read that gives nothing an input/output error.
bool writeAllAt(std::intptr_t handle, std::uint64_t offset, std::span<const std::uint8_t> bytes);
bool readAllAt(std::intptr_t handle, std::uint64_t offset, std::span<std::uint8_t> bytes);

} // namespace folvane::chm
