#pragma once

#include "base/FileReader.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace folvane::chm {

// A file of the project read from start to end, in pieces, failing with the compiler's messages.
class InputFile {
public:
    // Opens a regular file; false with the reason in error otherwise.
    bool open(const std::filesystem::path& path, std::string& error);
    // Size at opening.
    std::uint64_t size() const { return file_.size(); }
    // Fills buffer from the current position; returns the count read, 0 at the end.
    // Throws CompileError when reading fails.
    std::size_t read(std::span<std::uint8_t> buffer);

    // A whole small file (a project or contents file); throws CompileError.
    static std::string readAll(const std::filesystem::path& path, std::uint64_t maxBytes);

private:
    std::filesystem::path path_;
    FileReader file_;
};

} // namespace folvane::chm
