#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace folvane::chm {

// A new file written beside its target and put in the target's place only by commit(),
// so that a compile that fails leaves the previous file as it was. Failures throw
// CompileError naming the file and the system's reason.
class OutputFile {
public:
    explicit OutputFile(const std::filesystem::path& target);
    // Removes the temporary file unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Flushes the file to disk and renames it over the target.
    void commit();

    const std::filesystem::path& temporaryPath() const { return temporary_; }

private:
    void close() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::intptr_t handle_ = -1;
    bool committed_ = false;
};

} // namespace folvane::chm
