#pragma once

#include <cstdint>

namespace folvane::chm {

// The memory this program may use at most: the machine's, or a container's limit below it.
// 0 when the system does not say.
std::uint64_t usableMemoryBytes();

} // namespace folvane::chm
