#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace folvane::chm {

// A file in the output's folder for what a compile cannot keep in memory, with no name that
// outlives it: on POSIX it has none at all, on Windows the system deletes it when closed.
// Failures throw CompileError.
class ScratchFile {
public:
    explicit ScratchFile(const std::filesystem::path& folder);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Fills bytes whole from offset.
    void readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) const;

private:
    [[noreturn]] void fail(const char* what) const;

    std::filesystem::path folder_;
    std::intptr_t handle_ = -1;
};

} // namespace folvane::chm
