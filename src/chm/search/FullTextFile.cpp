#include "chm/search/FullTextFile.h"

#include "chm/itsf/ByteWriter.h"
#include "chm/search/WordBreaker.h"
#include "chm/search/WordIndex.h"
#include "chm/text/CodePage.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>

namespace folvane::chm {

namespace {

constexpr std::size_t kHeaderSize = 0x400;
constexpr std::size_t kLeafHeader = 8;
constexpr std::size_t kIndexHeader = 2;
// Nodes are 4 KiB as viewers expect; a site with so many words that the leaves need more
// than one level of index nodes gets larger nodes instead, since readers that walk the
// tree do not find their way through a third level.
constexpr std::size_t kNodeSize = 0x1000;
constexpr std::size_t kLargestNode = 0x8000;

struct Entry {
    std::string bytes;
    const WordIndex::Word* word = nullptr;
};

struct Child {
    std::string lastWord;
    std::uint32_t offset = 0;
};

// Encoded integers of the search index: seven bits a byte, lowest first.
void putCount(std::vector<std::uint8_t>& out, std::uint64_t value) {
    do {
        auto byte = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value != 0)
            byte |= 0x80;
        out.push_back(byte);
    } while (value != 0);
}

std::size_t countSize(std::uint64_t value) {
    std::size_t n = 1;
    while (value >>= 7)
        ++n;
    return n;
}

std::size_t sharedPrefix(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min({a.size(), b.size(), std::size_t{255}});
    std::size_t n = 0;
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

// Readers compare words ignoring the case of ASCII letters, bytes above as they are.
int compareFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        x = (x >= 'A' && x <= 'Z') ? x + 32 : x;
        y = (y >= 'A' && y <= 'Z') ? y + 32 : y;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The word as stored: in the code page when it has every character, else as UTF-8.
std::string storedWord(const std::string& utf8, std::uint32_t codePage) {
    const bool ascii =
        std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return utf8;
    const std::string converted = CodePage::fromUtf8(utf8, codePage, CodePage::Unmappable::NumericReference);
    return converted.find('&') == std::string::npos ? converted : utf8;
}

bool storedBefore(const Entry& a, const Entry& b) {
    const int c = compareFolded(a.bytes, b.bytes);
    if (c != 0)
        return c < 0;
    if (a.bytes != b.bytes)
        return a.bytes < b.bytes;
    return !a.word->title && b.word->title; // the text's list before the title's
}

bool sameStored(const Entry& a, const Entry& b) {
    return a.bytes == b.bytes && a.word->title == b.word->title;
}

std::vector<Entry> sortedEntries(const WordIndex& index, const FullTextFile::Settings& settings) {
    const std::uint32_t codePage = settings.codePage;
    std::vector<Entry> entries;
    entries.reserve(index.words().size());
    for (const WordIndex::Word& word : index.words()) {
        if (settings.stopWords != nullptr && settings.stopWords->count(word.text) > 0)
            continue;
        std::string bytes = storedWord(word.text, codePage);
        if (bytes.size() > WordBreaker::kMaxWordBytes)
            bytes = word.text;
        entries.push_back({std::move(bytes), &word});
    }
    std::sort(entries.begin(), entries.end(), storedBefore);
    // Two words the code page makes one: the second keeps its own spelling.
    bool respelled = false;
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (sameStored(entries[i - 1], entries[i]) && entries[i].bytes != entries[i].word->text) {
            entries[i].bytes = entries[i].word->text;
            respelled = true;
        }
    }
    if (respelled) {
        std::sort(entries.begin(), entries.end(), storedBefore);
        entries.erase(std::unique(entries.begin(), entries.end(), sameStored), entries.end());
    }
    return entries;
}

class NodeLayout {
public:
    NodeLayout(std::vector<std::uint8_t>& out, std::size_t nodeSize) : out_(out), nodeSize_(nodeSize) {}

    void leafWord(const Entry& entry, bool keepWithNext, std::size_t nextSize) {
        const WordIndex::Word& word = *entry.word;
        // lastWord_ is empty at the start of a leaf, so the first word shares nothing.
        const std::size_t room = nodeSize_ - kLeafHeader - leaf_.size();
        if (!leaf_.empty() && entrySize(entry, lastWord_) + (keepWithNext ? nextSize : 0) > room)
            flushLeaf();
        const std::size_t p = sharedPrefix(lastWord_, entry.bytes);
        const auto locationsAt = static_cast<std::uint32_t>(out_.size());
        out_.insert(out_.end(), word.locations.begin(), word.locations.end());
        ByteWriter w(leaf_);
        w.u8(static_cast<std::uint8_t>(entry.bytes.size() - p + 1));
        w.u8(static_cast<std::uint8_t>(p));
        w.text(std::string_view(entry.bytes).substr(p));
        w.u8(word.title ? 1 : 0);
        putCount(leaf_, word.documents);
        w.u32(locationsAt);
        w.u16(0);
        putCount(leaf_, word.locations.size());
        lastWord_ = entry.bytes;
    }

    // Writes the last leaf and the index levels above; returns the root's offset and the depth.
    std::pair<std::uint32_t, std::uint16_t> finish() {
        flushLeaf();
        std::vector<Child> level = std::move(leaves_);
        std::uint16_t depth = 1;
        while (level.size() > 1) {
            level = indexLevel(level);
            ++depth;
        }
        return {level.empty() ? 0 : level.front().offset, depth};
    }

    std::uint32_t leafCount() const { return leafCount_; }
    std::size_t lastLeafFree() const { return lastLeafFree_; }
    static std::size_t entrySize(const Entry& entry, std::string_view previous) {
        const std::size_t prefix = sharedPrefix(previous, entry.bytes);
        return 2 + entry.bytes.size() - prefix + 1 + countSize(entry.word->documents) + 6 +
               countSize(entry.word->locations.size());
    }

private:
    void flushLeaf() {
        if (leaf_.empty() && leafCount_ > 0)
            return;
        const auto at = static_cast<std::uint32_t>(out_.size());
        if (leafCount_ > 0)
            putU32(out_, previousLeaf_, at);
        ByteWriter w(out_);
        w.u32(0); // the next leaf, once it is written
        w.u16(0);
        lastLeafFree_ = nodeSize_ - kLeafHeader - leaf_.size();
        w.u16(static_cast<std::uint16_t>(lastLeafFree_));
        w.bytes(leaf_);
        w.zeros(lastLeafFree_);
        leaves_.push_back({lastWord_, at});
        previousLeaf_ = at;
        ++leafCount_;
        leaf_.clear();
        lastWord_.clear();
    }

    std::vector<Child> indexLevel(const std::vector<Child>& children) {
        std::vector<Child> nodes;
        std::vector<std::uint8_t> node;
        std::string previous;
        std::string last;
        const auto flush = [&] {
            const auto at = static_cast<std::uint32_t>(out_.size());
            ByteWriter w(out_);
            w.u16(static_cast<std::uint16_t>(nodeSize_ - kIndexHeader - node.size()));
            w.bytes(node);
            w.zeros(nodeSize_ - kIndexHeader - node.size());
            nodes.push_back({last, at});
            node.clear();
            previous.clear();
        };
        for (const Child& child : children) {
            std::size_t prefix = node.empty() ? 0 : sharedPrefix(previous, child.lastWord);
            if (kIndexHeader + node.size() + 2 + child.lastWord.size() - prefix + 6 > nodeSize_) {
                flush();
                prefix = 0;
            }
            ByteWriter w(node);
            w.u8(static_cast<std::uint8_t>(child.lastWord.size() - prefix + 1));
            w.u8(static_cast<std::uint8_t>(prefix));
            w.text(std::string_view(child.lastWord).substr(prefix));
            w.u32(child.offset);
            w.u16(0);
            previous = child.lastWord;
            last = child.lastWord;
        }
        flush();
        return nodes;
    }

    std::vector<std::uint8_t>& out_;
    std::size_t nodeSize_;
    std::vector<std::uint8_t> leaf_;
    std::string lastWord_;
    std::vector<Child> leaves_;
    std::size_t previousLeaf_ = 0;
    std::uint32_t leafCount_ = 0;
    std::size_t lastLeafFree_ = 0;
};

// Figures of the words in the text (a title's words are in the text too).
struct Totals {
    std::uint32_t longest = 0;
    std::uint64_t occurrences = 0;
    std::uint32_t distinct = 0;
    std::uint64_t allLength = 0;
    std::uint64_t distinctLength = 0;
};

void writeHeader(std::vector<std::uint8_t>& out, const FullTextFile::Settings& s, const WordIndex::Roots& roots,
                 const NodeLayout& layout, std::pair<std::uint32_t, std::uint16_t> root, std::size_t nodeSize,
                 const Totals& totals) {
    std::vector<std::uint8_t> head;
    ByteWriter w(head);
    w.u32(0x00280000);
    w.u32(s.documents);
    w.u32(root.first);
    w.u32(0);
    w.u32(layout.leafCount());
    w.u32(root.first);
    w.u16(root.second);
    w.u32(7);
    for (const unsigned r : {roots.document, roots.count, roots.location}) {
        w.u8(2);
        w.u8(static_cast<std::uint8_t>(r));
    }
    w.zeros(10);
    w.u32(static_cast<std::uint32_t>(nodeSize));
    w.u32(0);
    w.u32(0);
    w.u32(0);
    w.u32(totals.longest);
    w.u32(static_cast<std::uint32_t>(std::min<std::uint64_t>(totals.occurrences, 0xFFFFFFFF)));
    w.u32(totals.distinct);
    w.u64(totals.allLength);
    w.u32(static_cast<std::uint32_t>(std::min<std::uint64_t>(totals.distinctLength, 0xFFFFFFFF)));
    w.u32(static_cast<std::uint32_t>(layout.lastLeafFree()));
    w.u32(0);
    w.u32(s.documents == 0 ? 0 : s.documents - 1);
    w.zeros(24);
    w.u32(s.codePage);
    w.u32(s.lcid);
    std::copy(head.begin(), head.end(), out.begin());
}

} // namespace

std::vector<std::uint8_t> FullTextFile::make(const WordIndex& index, const Settings& settings) {
    const std::vector<Entry> entries = sortedEntries(index, settings);
    Totals totals;
    for (const Entry& e : entries) {
        if (e.word->title)
            continue;
        totals.longest = std::max(totals.longest, static_cast<std::uint32_t>(e.bytes.size()));
        totals.occurrences += e.word->occurrences;
        ++totals.distinct;
        totals.allLength += e.bytes.size() * e.word->occurrences;
        totals.distinctLength += e.bytes.size();
    }
    for (std::size_t nodeSize = kNodeSize;; nodeSize *= 2) {
        std::vector<std::uint8_t> out(kHeaderSize, 0);
        NodeLayout layout(out, nodeSize);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            // A word's two lists stay in one leaf, so that a title search finds the second.
            const bool pair = i + 1 < entries.size() && entries[i + 1].bytes == entries[i].bytes;
            layout.leafWord(entries[i], pair, pair ? NodeLayout::entrySize(entries[i + 1], entries[i].bytes) : 0);
        }
        const auto root = layout.finish();
        if (root.second <= 2 || nodeSize >= kLargestNode) {
            writeHeader(out, settings, index.roots(), layout, root, nodeSize, totals);
            return out;
        }
    }
}

} // namespace folvane::chm
