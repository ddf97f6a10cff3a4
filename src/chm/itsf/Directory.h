#pragma once

#include "chm/itsf/DirectoryEntry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folvane::chm {

// The directory of a container: the ITSP header, listing chunks (PMGL) holding every name
// in listing order, and above them as many levels of index chunks (PMGI) as it takes to
// reach a single root. The chunk layout is fixed when the directory is made, so its size
// is known before the content it describes is written.
class Directory {
public:
    static constexpr std::size_t kChunkSize = 0x1000;
    static constexpr std::size_t kHeaderSize = 0x54;

    // Names must be unique in listing order (see compareDirectoryNames). The offset and
    // length of the entries named in late are set later; room is kept for any values.
    // Throws std::length_error for a name too long for a chunk.
    explicit Directory(std::vector<DirectoryEntry> entries, const std::vector<std::string>& late = {});

    // Throws std::out_of_range for a name not planned as late.
    void setLate(std::string_view name, std::uint64_t offset, std::uint64_t length);

    std::size_t chunkCount() const;
    std::size_t indexDepth() const { return indexLevels_.size() + 1; }
    std::uint64_t encodedSize() const { return kHeaderSize + chunkCount() * kChunkSize; }
    const std::vector<DirectoryEntry>& entries() const { return entries_; }

    std::vector<std::uint8_t> encode(std::uint32_t lcid) const;

    // The longest name: index chunks must hold two names, or their levels never narrow to a root.
    static constexpr std::size_t kMaxNameBytes = 2000;

private:
    // One index chunk level: for each chunk, the index of its first entry in the level below.
    using Level = std::vector<std::size_t>;

    std::size_t listingEntrySize(std::size_t i) const;
    void planListing();
    void planIndex();
    std::vector<std::string_view> firstNamesOf(std::size_t level) const;
    void encodeListing(std::vector<std::uint8_t>& out) const;
    void encodeIndex(std::vector<std::uint8_t>& out) const;

    std::vector<DirectoryEntry> entries_;
    std::vector<bool> late_;
    std::vector<std::size_t> listingStarts_;
    // indexLevels_[0] groups the listing chunks, each later level groups the one before.
    std::vector<Level> indexLevels_;
};

} // namespace folvane::chm
