#pragma once

namespace folvane::hhc {

// Scripts written for the Windows help compiler read 1 as success and 0 as failure; keep
// that there. Elsewhere the usual convention holds.
#ifdef _WIN32
constexpr int kSucceeded = 1;
constexpr int kFailed = 0;
#else
constexpr int kSucceeded = 0;
constexpr int kFailed = 1;
#endif
constexpr int kUsage = 2;

} // namespace folvane::hhc
