#pragma once

#include <array>
#include <cstdint>

namespace folvane::chm {

// The class identifiers the container format names, in their stored byte order.
using Guid = std::array<std::uint8_t, 16>;

// {7C01FD10-7BAA-11D0-9E0C-00A0C922E6EC}
inline constexpr Guid kItsfGuid1 = {0x10, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                                    0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
// {7C01FD11-7BAA-11D0-9E0C-00A0C922E6EC}
inline constexpr Guid kItsfGuid2 = {0x11, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                                    0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
// {5D02926A-212E-11D0-9DF9-00A0C922E6EC}
inline constexpr Guid kDirectoryGuid = {0x6A, 0x92, 0x02, 0x5D, 0x2E, 0x21, 0xD0, 0x11,
                                        0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
// The LZX transform, as text: {7FC28940-9D31-11D0-9B27-00A0C91E9C7C}
inline constexpr char kLzxTransformId[] = "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}";

} // namespace folvane::chm
