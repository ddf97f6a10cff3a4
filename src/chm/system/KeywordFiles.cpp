#include "chm/system/KeywordFiles.h"

#include "chm/itsf/ByteWriter.h"

#include <algorithm>
#include <array>

namespace folvane::chm {

namespace {

constexpr std::size_t kBlock = 2048;
constexpr std::size_t kListingHeader = 12;
constexpr std::size_t kIndexHeader = 8;
constexpr std::size_t kHeaderSize = 0x4C;
constexpr std::uint16_t kSignature = 0x293B;
constexpr std::uint16_t kFlags = 2;
constexpr std::uint16_t kSeeAlso = 2;
constexpr std::uint32_t kNone = 0xFFFFFFFF;
// The header's record format and an unexplained value every index carries.
constexpr std::string_view kDataFormat = "X44";
constexpr std::uint32_t kUsualTag = 10031;
// Every keyword's record in the Data file, and the Property file, as help files with a
// populated index carry them.
constexpr std::array<std::uint8_t, 13> kDataRecord{0, 0, 0, 0, 5, 0, 0, 0, 0x80, 0, 0, 0, 0};
constexpr std::array<std::uint32_t, 8> kProperty{0, 0, 0, 0x0C, 1, 1, 0, 0};
// A keyword longer than this is cut, so that every entry fits a block with room for topics.
constexpr std::size_t kMaxTextUnits = 255;
// A listing entry ends in two words, an index entry in one: the head must leave room for them.
constexpr std::size_t kMaxHead = kBlock - kListingHeader - 8;

void utf16(ByteWriter& w, std::u16string_view text) {
    for (const char16_t unit : text.substr(0, kMaxTextUnits))
        w.u16(unit);
    w.u16(0);
}

// What listing and index entries share: the keyword, its place and its topics.
std::vector<std::uint8_t> entryHead(const KeywordEntry& keyword, std::size_t& shortened) {
    std::vector<std::uint8_t> head;
    ByteWriter w(head);
    utf16(w, keyword.text);
    const bool seeAlso = !keyword.seeAlso.empty();
    w.u16(seeAlso ? kSeeAlso : 0);
    w.u16(keyword.depth);
    w.u32(std::min<std::uint32_t>(keyword.shownFrom,
                                  static_cast<std::uint32_t>(std::min(keyword.text.size(), kMaxTextUnits))));
    w.u32(0);
    if (seeAlso) {
        w.u32(1);
        utf16(w, keyword.seeAlso);
        return head;
    }
    const std::size_t room = (kMaxHead - head.size() - 4) / 4;
    const std::size_t count = std::min(keyword.topics.size(), room);
    shortened += count < keyword.topics.size() ? 1 : 0;
    w.u32(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i)
        w.u32(keyword.topics[i]);
    return head;
}

// Blocks of one level, filled in order.
class BlockLevel {
public:
    BlockLevel(std::vector<std::uint8_t>& tree, std::size_t headerSize)
        : tree_(tree), headerSize_(headerSize), used_(headerSize) {}

    // Starts a new block when the entry does not fit; true when the entry opens a block.
    bool add(const std::vector<std::uint8_t>& entry) {
        const bool opens = count_ == 0 || used_ + entry.size() > kBlock;
        if (count_ > 0 && opens)
            close();
        if (count_ == 0) {
            start_ = tree_.size();
            tree_.resize(tree_.size() + kBlock, 0);
        }
        std::copy(entry.begin(), entry.end(), tree_.begin() + static_cast<std::ptrdiff_t>(start_ + used_));
        used_ += entry.size();
        ++count_;
        return opens;
    }
    void close() {
        if (count_ == 0)
            return;
        putU16(start_, static_cast<std::uint16_t>(kBlock - used_));
        putU16(start_ + 2, count_);
        used_ = headerSize_;
        count_ = 0;
    }
    // The block being filled.
    std::uint32_t current() const { return static_cast<std::uint32_t>(start_ / kBlock); }

private:
    void putU16(std::size_t at, std::uint16_t value) {
        tree_[at] = static_cast<std::uint8_t>(value);
        tree_[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }

    std::vector<std::uint8_t>& tree_;
    std::size_t headerSize_;
    std::size_t used_;
    std::uint16_t count_ = 0;
    std::size_t start_ = 0;
};

struct Child {
    std::uint32_t block;
    std::vector<std::uint8_t> head;
};

std::size_t blockStart(std::uint32_t block) {
    return std::size_t{block} * kBlock;
}

} // namespace

KeywordFiles keywordFiles(const std::vector<KeywordEntry>& keywords, std::uint32_t codePage, std::uint32_t lcid) {
    KeywordFiles files;
    std::vector<std::uint8_t> tree; // the blocks, after the header
    ByteWriter data(files.data);
    std::vector<Child> children;
    std::vector<std::uint32_t> firstKeywords;
    BlockLevel listing(tree, kListingHeader);
    for (std::size_t i = 0; i < keywords.size(); ++i) {
        std::vector<std::uint8_t> head = entryHead(keywords[i], files.shortened);
        std::vector<std::uint8_t> entry = head;
        ByteWriter w(entry);
        w.u32(1);
        w.u32(static_cast<std::uint32_t>(files.data.size()));
        data.bytes(kDataRecord);
        if (listing.add(entry)) {
            children.push_back({listing.current(), std::move(head)});
            firstKeywords.push_back(static_cast<std::uint32_t>(i));
        }
    }
    listing.close();
    const auto listingBlocks = static_cast<std::uint32_t>(children.size());
    for (std::uint32_t b = 0; b < listingBlocks; ++b) {
        putU32(tree, blockStart(b) + 4, b == 0 ? kNone : b - 1);
        putU32(tree, blockStart(b) + 8, b + 1 == listingBlocks ? kNone : b + 1);
    }

    std::uint16_t depth = 1;
    while (children.size() > 1) {
        std::vector<Child> parents;
        BlockLevel level(tree, kIndexHeader);
        for (Child& child : children) {
            std::vector<std::uint8_t> entry = child.head;
            ByteWriter(entry).u32(child.block);
            if (level.add(entry)) {
                putU32(tree, blockStart(level.current()) + 4, child.block);
                parents.push_back({level.current(), std::move(child.head)});
            }
        }
        level.close();
        children = std::move(parents);
        ++depth;
    }

    std::vector<std::uint8_t> header;
    header.reserve(kHeaderSize + tree.size());
    ByteWriter h(header);
    h.u16(kSignature);
    h.u16(kFlags);
    h.u16(static_cast<std::uint16_t>(kBlock));
    h.text(kDataFormat);
    h.zeros(16 - kDataFormat.size());
    h.u32(0);
    h.u32(listingBlocks == 0 ? kNone : listingBlocks - 1);
    h.u32(children.empty() ? kNone : children.front().block);
    h.u32(kNone);
    h.u32(static_cast<std::uint32_t>(tree.size() / kBlock));
    h.u16(depth);
    h.u32(static_cast<std::uint32_t>(keywords.size()));
    h.u32(codePage);
    h.u32(lcid);
    h.u32(1); // part of a help file, not of a collection
    h.u32(kUsualTag);
    h.zeros(kHeaderSize - header.size());
    files.btree = std::move(header);
    files.btree.insert(files.btree.end(), tree.begin(), tree.end());

    ByteWriter map(files.map);
    map.u16(static_cast<std::uint16_t>(listingBlocks));
    for (std::uint32_t b = 0; b < listingBlocks; ++b) {
        map.u32(firstKeywords[b]);
        map.u32(b);
    }
    ByteWriter property(files.property);
    for (const std::uint32_t value : kProperty)
        property.u32(value);
    return files;
}

} // namespace folvane::chm
