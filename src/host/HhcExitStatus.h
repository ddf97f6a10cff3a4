#pragma once

// Plain C++: hhc includes it as well as the programs that start hhc.
namespace folvane::hhc {

// Scripts written for the Windows help compiler read 1 as success and 0 as anything less;
// keep that there. Elsewhere the usual convention holds, and a help file that lacks files
// the project names has a status of its own.
#ifdef _WIN32
constexpr int kSucceeded = 1;
constexpr int kFailed = 0;
constexpr int kIncomplete = 0;
#else
constexpr int kSucceeded = 0;
constexpr int kFailed = 1;
constexpr int kIncomplete = 3;
#endif
constexpr int kUsage = 2;

} // namespace folvane::hhc
