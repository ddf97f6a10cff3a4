#pragma once

#include "chm/platform/ScratchFile.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace folvane::chm {

// Where the search index file is written: in memory, and past memoryLimit bytes on to a
// scratch file beside the output. Bytes already written can be overwritten.
class FullTextSink {
public:
    FullTextSink(std::filesystem::path scratchFolder, std::size_t memoryLimit);
    ~FullTextSink();
    FullTextSink(const FullTextSink&) = delete;
    FullTextSink& operator=(const FullTextSink&) = delete;

    void append(std::span<const std::uint8_t> bytes);
    void overwrite(std::uint64_t at, std::span<const std::uint8_t> bytes);
    std::uint64_t size() const { return written_ + memory_.size(); }
    // Starts again from nothing.
    void clear();
    // Every byte, in order, in pieces.
    void read(const std::function<void(std::span<const std::uint8_t>)>& piece) const;

private:
    std::filesystem::path scratchFolder_;
    std::size_t memoryLimit_;
    std::unique_ptr<ScratchFile> file_;
    std::uint64_t written_ = 0; // bytes in the file; memory_ holds the ones after them
    std::vector<std::uint8_t> memory_;
};

} // namespace folvane::chm
