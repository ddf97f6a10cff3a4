#include "chm/search/FullTextFile.h"

#include "chm/itsf/ByteWriter.h"
#include "chm/search/CountCode.h"
#include "chm/search/FullTextSink.h"
#include "chm/search/IndexOrder.h"

#include <algorithm>
#include <span>
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

struct Child {
    std::string lastWord;
    std::uint32_t offset = 0;
};

std::size_t sharedPrefix(std::string_view a, std::string_view b) {
    const std::size_t limit = std::min({a.size(), b.size(), std::size_t{255}});
    std::size_t n = 0;
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

// Lays words out in leaves and index nodes of one size; without a sink it only measures,
// which tells the depth of the tree at that size.
class NodeLayout {
public:
    NodeLayout(FullTextSink* out, std::size_t nodeSize, std::uint64_t start)
        : out_(out), nodeSize_(nodeSize), size_(start) {}

    void leafWord(const SortedWord& word, bool keepWithNext, std::size_t nextSize) {
        // lastWord_ is empty at the start of a leaf, so the first word shares nothing.
        const std::size_t room = nodeSize_ - kLeafHeader - leaf_.size();
        if (!leaf_.empty() && entrySize(word, lastWord_) + (keepWithNext ? nextSize : 0) > room)
            flushLeaf();
        const std::size_t p = sharedPrefix(lastWord_, word.stored);
        const auto locationsAt = static_cast<std::uint32_t>(size_);
        append(word.locations);
        ByteWriter w(leaf_);
        w.u8(static_cast<std::uint8_t>(word.stored.size() - p + 1));
        w.u8(static_cast<std::uint8_t>(p));
        w.text(word.stored.substr(p));
        w.u8(word.title ? 1 : 0);
        putCount(leaf_, word.documents);
        w.u32(locationsAt);
        w.u16(0);
        putCount(leaf_, word.locations.size());
        lastWord_ = word.stored;
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
    std::size_t nodeSize() const { return nodeSize_; }
    std::size_t lastLeafFree() const { return lastLeafFree_; }
    static std::size_t entrySize(const SortedWord& word, std::string_view previous) {
        const std::size_t prefix = sharedPrefix(previous, word.stored);
        return 2 + word.stored.size() - prefix + 1 + countSize(word.documents) + 6 + countSize(word.locations.size());
    }

private:
    void append(std::span<const std::uint8_t> bytes) {
        if (out_)
            out_->append(bytes);
        size_ += bytes.size();
    }

    void flushLeaf() {
        if (leaf_.empty() && leafCount_ > 0)
            return;
        const auto at = static_cast<std::uint32_t>(size_);
        if (leafCount_ > 0 && out_) {
            std::vector<std::uint8_t> next(4);
            putU32(next, 0, at);
            out_->overwrite(previousLeaf_, next);
        }
        std::vector<std::uint8_t> node;
        ByteWriter w(node);
        w.u32(0); // the next leaf, once it is written
        w.u16(0);
        lastLeafFree_ = nodeSize_ - kLeafHeader - leaf_.size();
        w.u16(static_cast<std::uint16_t>(lastLeafFree_));
        w.bytes(leaf_);
        w.zeros(lastLeafFree_);
        append(node);
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
            const auto at = static_cast<std::uint32_t>(size_);
            std::vector<std::uint8_t> whole;
            ByteWriter w(whole);
            w.u16(static_cast<std::uint16_t>(nodeSize_ - kIndexHeader - node.size()));
            w.bytes(node);
            w.zeros(nodeSize_ - kIndexHeader - node.size());
            append(whole);
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

    FullTextSink* out_;
    std::size_t nodeSize_;
    std::uint64_t size_;
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

void writeHeader(FullTextSink& out, const FullTextFile::Settings& s, const LocationRoots& roots,
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
    out.overwrite(0, head);
}

// The next word the index keeps: the project's stop words are left out.
bool nextKept(SortedWords& words, SortedWord& word, const FullTextFile::Settings& settings) {
    while (words.next(word))
        if (settings.stopWords == nullptr || settings.stopWords->count(std::string(word.text)) == 0)
            return true;
    return false;
}

// A word kept while the words after it are read.
struct HeldWord {
    std::string stored;
    std::string text;
    SortedWord word;
    std::vector<std::uint8_t> locations;

    void take(const SortedWord& from) {
        stored = from.stored;
        text = from.text;
        locations.assign(from.locations.begin(), from.locations.end());
        word = from;
        word.stored = stored;
        word.text = text;
        word.locations = locations;
    }
};

// Lays the words out at the first of the node sizes and measures the others on the way.
// Returns the node size laid out, or the one to lay out instead: the smallest whose tree
// stays two levels deep, or the largest.
std::size_t layOut(SortedWords& words, const LocationRoots& roots, const FullTextFile::Settings& settings,
                   const std::vector<std::size_t>& nodeSizes, FullTextSink& out) {
    out.clear();
    const std::vector<std::uint8_t> header(kHeaderSize, 0);
    out.append(header);
    std::vector<NodeLayout> layouts;
    for (const std::size_t size : nodeSizes)
        layouts.emplace_back(layouts.empty() ? &out : nullptr, size, kHeaderSize);
    Totals totals;
    words.rewind();
    HeldWord held;
    SortedWord following;
    bool more = nextKept(words, following, settings);
    if (more)
        held.take(following);
    while (more) {
        const SortedWord& current = held.word;
        // Words a reader cannot tell apart: the first one stands for them.
        bool hasFollowing = nextKept(words, following, settings);
        while (hasFollowing && IndexOrder::sameEntry({current.stored, current.title, current.text},
                                                     {following.stored, following.title, following.text}))
            hasFollowing = nextKept(words, following, settings);
        if (!current.title) {
            totals.longest = std::max(totals.longest, static_cast<std::uint32_t>(current.stored.size()));
            totals.occurrences += current.occurrences;
            ++totals.distinct;
            totals.allLength += current.stored.size() * current.occurrences;
            totals.distinctLength += current.stored.size();
        }
        // A word's two lists stay in one leaf, so that a title search finds the second.
        const bool pair = hasFollowing && following.stored == current.stored;
        const std::size_t pairSize = pair ? NodeLayout::entrySize(following, current.stored) : 0;
        for (NodeLayout& layout : layouts)
            layout.leafWord(current, pair, pairSize);
        if (hasFollowing)
            held.take(following);
        more = hasFollowing;
    }
    std::size_t chosen = nodeSizes.back();
    for (NodeLayout& layout : layouts) {
        const auto root = layout.finish();
        if (&layout == &layouts.front() && (root.second <= 2 || layouts.size() == 1)) {
            writeHeader(out, settings, roots, layout, root, layout.nodeSize(), totals);
            return layout.nodeSize();
        }
        if (root.second <= 2 && chosen == nodeSizes.back())
            chosen = std::min(chosen, layout.nodeSize());
    }
    return chosen;
}

} // namespace

void FullTextFile::write(SortedWords& words, const LocationRoots& roots, const Settings& settings, FullTextSink& out) {
    // The first pass lays out the smallest nodes and measures the larger ones, so that a
    // large index is read twice, not once for each size.
    std::vector<std::size_t> sizes;
    for (std::size_t nodeSize = kNodeSize; nodeSize <= kLargestNode; nodeSize *= 2)
        sizes.push_back(nodeSize);
    const std::size_t chosen = layOut(words, roots, settings, sizes, out);
    if (chosen != sizes.front())
        layOut(words, roots, settings, {chosen}, out);
}

} // namespace folvane::chm
