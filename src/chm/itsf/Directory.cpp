#include "chm/itsf/Directory.h"

#include "chm/itsf/ByteWriter.h"
#include "chm/itsf/Guid.h"

#include <algorithm>
#include <stdexcept>

namespace folvane::chm {

namespace {

constexpr std::size_t kListingHeader = 0x14;
constexpr std::size_t kIndexHeader = 0x08;
// Every fifth entry gets a quick-reference offset at the end of its chunk.
constexpr std::size_t kQuickRefDensity = 2;
constexpr std::size_t kQuickRefStep = 1 + (std::size_t{1} << kQuickRefDensity);
constexpr std::uint32_t kNone = 0xFFFFFFFF;
// Room planned for a value not known yet: the longest ENCINT of a 64-bit value.
constexpr std::uint64_t kAnyValue = ~std::uint64_t{0};

// The entry count and one offset per started group of entries. One more offset than
// written is kept free: some readers check that much room.
std::size_t quickRefRoom(std::size_t entries) {
    return 2 + 2 * ((entries + kQuickRefStep - 1) / kQuickRefStep);
}

// First item of each chunk when items of these sizes are packed in order.
std::vector<std::size_t> packChunks(const std::vector<std::size_t>& sizes, std::size_t header) {
    std::vector<std::size_t> starts;
    std::size_t used = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        if (header + sizes[i] + quickRefRoom(1) > Directory::kChunkSize)
            throw std::length_error("directory entry too long");
        if (count == 0 || header + used + sizes[i] + quickRefRoom(count + 1) > Directory::kChunkSize) {
            starts.push_back(i);
            used = 0;
            count = 0;
        }
        used += sizes[i];
        ++count;
    }
    return starts;
}

void writeNamed(ByteWriter& w, std::string_view name) {
    w.encint(name.size());
    w.text(name);
}

// Lays out one chunk: header, entries, free space, quick references and the entry count.
void writeChunk(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& header,
                const std::vector<std::vector<std::uint8_t>>& items) {
    const std::size_t base = out.size();
    out.insert(out.end(), header.begin(), header.end());
    std::vector<std::uint16_t> quickRefs;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && i % kQuickRefStep == 0)
            quickRefs.push_back(static_cast<std::uint16_t>(offset));
        out.insert(out.end(), items[i].begin(), items[i].end());
        offset += items[i].size();
    }
    const std::size_t end = base + Directory::kChunkSize;
    putU32(out, base + 4, static_cast<std::uint32_t>(end - out.size()));
    out.resize(end, 0);
    for (std::size_t m = 0; m < quickRefs.size(); ++m) {
        out[end - 4 - 2 * m] = static_cast<std::uint8_t>(quickRefs[m]);
        out[end - 3 - 2 * m] = static_cast<std::uint8_t>(quickRefs[m] >> 8);
    }
    out[end - 2] = static_cast<std::uint8_t>(items.size());
    out[end - 1] = static_cast<std::uint8_t>(items.size() >> 8);
}

} // namespace

Directory::Directory(std::vector<DirectoryEntry> entries, const std::vector<std::string>& late)
    : entries_(std::move(entries)) {
    std::sort(entries_.begin(), entries_.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
        return compareDirectoryNames(a.name, b.name) < 0;
    });
    late_.assign(entries_.size(), false);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].name.size() > kMaxNameBytes)
            throw std::length_error("directory name too long");
        late_[i] = std::find(late.begin(), late.end(), entries_[i].name) != late.end();
    }
    planListing();
    planIndex();
}

void Directory::setLate(std::string_view name, std::uint64_t offset, std::uint64_t length) {
    const auto found =
        std::lower_bound(entries_.begin(), entries_.end(), name, [](const DirectoryEntry& e, std::string_view n) {
            return compareDirectoryNames(e.name, n) < 0;
        });
    const auto i = static_cast<std::size_t>(found - entries_.begin());
    if (found == entries_.end() || found->name != name || !late_[i])
        throw std::out_of_range("not a late directory entry");
    found->offset = offset;
    found->length = length;
}

std::size_t Directory::listingEntrySize(std::size_t i) const {
    const DirectoryEntry& e = entries_[i];
    const std::uint64_t offset = late_[i] ? kAnyValue : e.offset;
    const std::uint64_t length = late_[i] ? kAnyValue : e.length;
    return ByteWriter::encintSize(e.name.size()) + e.name.size() + ByteWriter::encintSize(e.section) +
           ByteWriter::encintSize(offset) + ByteWriter::encintSize(length);
}

void Directory::planListing() {
    std::vector<std::size_t> sizes;
    sizes.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i)
        sizes.push_back(listingEntrySize(i));
    listingStarts_ = packChunks(sizes, kListingHeader);
    if (listingStarts_.empty())
        listingStarts_.push_back(0);
}

std::vector<std::string_view> Directory::firstNamesOf(std::size_t level) const {
    std::vector<std::string_view> names;
    for (const std::size_t start : listingStarts_)
        names.push_back(start < entries_.size() ? std::string_view(entries_[start].name) : std::string_view());
    for (std::size_t l = 0; l < level; ++l) {
        std::vector<std::string_view> above;
        for (const std::size_t first : indexLevels_[l])
            above.push_back(names[first]);
        names = std::move(above);
    }
    return names;
}

void Directory::planIndex() {
    // Chunks of each level are numbered after all chunks of the levels below.
    std::size_t firstNumber = 0;
    std::size_t below = listingStarts_.size();
    while (below > 1) {
        const std::vector<std::string_view> names = firstNamesOf(indexLevels_.size());
        std::vector<std::size_t> sizes;
        for (std::size_t c = 0; c < names.size(); ++c)
            sizes.push_back(ByteWriter::encintSize(names[c].size()) + names[c].size() +
                            ByteWriter::encintSize(firstNumber + c));
        indexLevels_.push_back(packChunks(sizes, kIndexHeader));
        if (indexLevels_.back().size() >= below)
            throw std::length_error("directory names too long for an index");
        firstNumber += below;
        below = indexLevels_.back().size();
    }
}

std::size_t Directory::chunkCount() const {
    std::size_t count = listingStarts_.size();
    for (const Level& level : indexLevels_)
        count += level.size();
    return count;
}

std::vector<std::uint8_t> Directory::encode(std::uint32_t lcid) const {
    std::vector<std::uint8_t> out;
    out.reserve(encodedSize());
    ByteWriter w(out);
    const std::size_t chunks = chunkCount();
    w.text("ITSP");
    w.u32(1);
    w.u32(kHeaderSize);
    w.u32(0x0A);
    w.u32(kChunkSize);
    w.u32(kQuickRefDensity);
    w.u32(static_cast<std::uint32_t>(indexDepth()));
    w.u32(indexLevels_.empty() ? kNone : static_cast<std::uint32_t>(chunks - 1));
    w.u32(0);
    w.u32(static_cast<std::uint32_t>(listingStarts_.size() - 1));
    w.u32(kNone);
    w.u32(static_cast<std::uint32_t>(chunks));
    w.u32(lcid);
    w.bytes(kDirectoryGuid);
    w.u32(kHeaderSize);
    w.u32(kNone);
    w.u32(kNone);
    w.u32(kNone);
    encodeListing(out);
    encodeIndex(out);
    return out;
}

void Directory::encodeListing(std::vector<std::uint8_t>& out) const {
    const std::size_t count = listingStarts_.size();
    for (std::size_t c = 0; c < count; ++c) {
        std::vector<std::uint8_t> header;
        ByteWriter h(header);
        h.text("PMGL");
        h.u32(0); // free space, filled in by writeChunk
        h.u32(0);
        h.u32(c == 0 ? kNone : static_cast<std::uint32_t>(c - 1));
        h.u32(c + 1 == count ? kNone : static_cast<std::uint32_t>(c + 1));
        const std::size_t end = c + 1 < count ? listingStarts_[c + 1] : entries_.size();
        std::vector<std::vector<std::uint8_t>> items;
        for (std::size_t i = listingStarts_[c]; i < end; ++i) {
            std::vector<std::uint8_t>& item = items.emplace_back();
            ByteWriter w(item);
            writeNamed(w, entries_[i].name);
            w.encint(entries_[i].section);
            w.encint(entries_[i].offset);
            w.encint(entries_[i].length);
        }
        writeChunk(out, header, items);
    }
}

void Directory::encodeIndex(std::vector<std::uint8_t>& out) const {
    std::size_t firstNumber = 0;
    std::size_t below = listingStarts_.size();
    for (std::size_t l = 0; l < indexLevels_.size(); ++l) {
        const std::vector<std::string_view> names = firstNamesOf(l);
        const Level& level = indexLevels_[l];
        for (std::size_t c = 0; c < level.size(); ++c) {
            std::vector<std::uint8_t> header;
            ByteWriter h(header);
            h.text("PMGI");
            h.u32(0);
            const std::size_t end = c + 1 < level.size() ? level[c + 1] : names.size();
            std::vector<std::vector<std::uint8_t>> items;
            for (std::size_t i = level[c]; i < end; ++i) {
                std::vector<std::uint8_t>& item = items.emplace_back();
                ByteWriter w(item);
                writeNamed(w, names[i]);
                w.encint(firstNumber + i);
            }
            writeChunk(out, header, items);
        }
        firstNumber += below;
        below = level.size();
    }
}

} // namespace folvane::chm
