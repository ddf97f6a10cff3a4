#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace folvane::chm {

// A file of the project read from start to end, in pieces: pages can be larger than
// memory should hold at once.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens a regular file; false with the system's reason in error otherwise.
    bool open(const std::filesystem::path& path, std::string& error);
    // Size at opening.
    std::uint64_t size() const { return size_; }
    // Fills buffer from the current position; returns the count read, 0 at the end.
    // Throws CompileError when reading fails.
    std::size_t read(std::span<std::uint8_t> buffer);

    // A whole small file (a project or contents file); throws CompileError.
    static std::string readAll(const std::filesystem::path& path, std::uint64_t maxBytes);

private:
    void close() noexcept;

    std::filesystem::path path_;
    std::intptr_t handle_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace folvane::chm
