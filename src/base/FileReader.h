#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace folvane {

// A regular file read from start to end, in pieces or whole, with one open: pages can be
// larger than memory should hold at once, and the title pass reads tens of thousands of them.
class FileReader {
public:
    enum class Status {
        Ok,
        CannotOpen, // missing or not accessible: systemError() says why
        Folder,
        NotRegular, // a device, a pipe
        TooBig,
        ReadFailed, // opened, but reading went wrong: systemError() says why
    };

    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Ok, CannotOpen, Folder or NotRegular.
    Status open(const std::filesystem::path& path);
    // Size at opening.
    std::uint64_t size() const { return size_; }
    // Fills buffer from the current position: the count read, 0 at the end; nothing when reading fails.
    std::optional<std::size_t> read(std::span<std::uint8_t> buffer);
    // A whole file of at most maxBytes. The size taken at opening is what is read: a file
    // growing meanwhile cannot push it past the limit.
    Status readAll(const std::filesystem::path& path, std::uint64_t maxBytes, std::string& bytes);
    // The system's description of the last failure to open or read, as UTF-8.
    const std::string& systemError() const { return systemError_; }

private:
    void close() noexcept;

    std::intptr_t handle_ = -1;
    std::uint64_t size_ = 0;
    std::string systemError_;
};

} // namespace folvane
