#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace folvane::chm {

// A new file written beside its target and put in the target's place only by commit(),
// so that a compile that fails leaves the previous file as it was. Its name is short and
// our own (".folvane-…tmp", "~folvane-…tmp" on Windows); a compile first removes the ones
// that compiles of the same target left behind when they were killed. Failures throw
// CompileError naming the file and the system's reason.
class OutputFile {
public:
    explicit OutputFile(const std::filesystem::path& target);
    // Removes the temporary file unless it was committed.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Flushes the file to disk, closes it and renames it over the target.
    void commit();

private:
    void close() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::intptr_t handle_ = -1;
    std::intptr_t lock_ = -1; // keeps a leftover apart from a file being written
    bool committed_ = false;
};

// A temporary file of ours, this version's or an older one's: never a page.
inline bool isOutputTemporaryName(std::string_view fileName) {
    return (fileName.starts_with('.') || fileName.starts_with('~')) && fileName.ends_with(".tmp") &&
           fileName.find("folvane-") != std::string_view::npos;
}

} // namespace folvane::chm
