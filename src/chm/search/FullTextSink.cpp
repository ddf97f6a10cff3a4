#include "chm/search/FullTextSink.h"

#include <algorithm>

namespace folvane::chm {

namespace {
constexpr std::size_t kReadPiece = 1u << 20;
} // namespace

FullTextSink::FullTextSink(std::filesystem::path scratchFolder, std::size_t memoryLimit)
    : scratchFolder_(std::move(scratchFolder)), memoryLimit_(memoryLimit) {}

FullTextSink::~FullTextSink() = default;

void FullTextSink::append(std::span<const std::uint8_t> bytes) {
    memory_.insert(memory_.end(), bytes.begin(), bytes.end());
    if (memory_.size() <= memoryLimit_)
        return;
    if (!file_)
        file_ = std::make_unique<ScratchFile>(scratchFolder_);
    file_->writeAt(written_, memory_);
    written_ += memory_.size();
    memory_.clear();
}

void FullTextSink::overwrite(std::uint64_t at, std::span<const std::uint8_t> bytes) {
    if (at < written_) {
        const auto inFile = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), written_ - at));
        file_->writeAt(at, bytes.first(inFile));
        bytes = bytes.subspan(inFile);
        at += inFile;
    }
    std::copy(bytes.begin(), bytes.end(), memory_.begin() + static_cast<std::ptrdiff_t>(at - written_));
}

void FullTextSink::clear() {
    written_ = 0;
    memory_.clear();
}

void FullTextSink::read(const std::function<void(std::span<const std::uint8_t>)>& piece) const {
    std::vector<std::uint8_t> buffer;
    for (std::uint64_t at = 0; at < written_; at += buffer.size()) {
        buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kReadPiece, written_ - at)));
        file_->readAt(at, buffer);
        piece(buffer);
    }
    if (!memory_.empty())
        piece(memory_);
}

} // namespace folvane::chm
