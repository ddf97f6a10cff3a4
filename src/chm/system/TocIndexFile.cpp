#include "chm/system/TocIndexFile.h"

#include "chm/itsf/ByteWriter.h"

namespace folvane::chm {

namespace {
constexpr std::uint32_t kBlock = 0x1000;
constexpr std::uint32_t kLeafSize = 0x14;
constexpr std::uint32_t kBookSize = 0x1C;
constexpr std::uint32_t kHasChildren = 0x4;
constexpr std::uint32_t kHasTopic = 0x8;
// The entries table numbers the entries that open a page from this value on, as the files
// viewers are used to do.
constexpr std::uint32_t kFirstTopicNumber = 0x29A;
constexpr std::size_t kNone = TocNode::kTop;
} // namespace

TocIndexFile::TocIndexFile(const std::vector<TocNode>& nodes)
    : nodes_(nodes), firstChild_(nodes.size(), kNone), nextSibling_(nodes.size(), kNone), offsets_(nodes.size()) {
    std::vector<std::size_t> lastChild(nodes.size(), kNone);
    std::size_t lastTop = kNone;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const std::size_t parent = nodes[i].parent;
        std::size_t& previous = parent == kNone ? lastTop : lastChild[parent];
        if (previous != kNone)
            nextSibling_[previous] = i;
        else if (parent != kNone)
            firstChild_[parent] = i;
        previous = i;
    }
    std::uint32_t at = kBlock;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const std::uint32_t size = firstChild_[i] != kNone ? kBookSize : kLeafSize;
        if (at % kBlock + size > kBlock)
            at += kBlock - at % kBlock;
        offsets_[i] = at;
        at += size;
    }
    entriesEnd_ = at;
}

std::vector<std::uint8_t> TocIndexFile::bytes(const std::vector<std::uint32_t>& topicOrName) const {
    const auto offsetOf = [this](std::size_t i) { return i == kNone ? 0 : offsets_[i]; };
    std::vector<std::size_t> withTopic;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].hasTopic)
            withTopic.push_back(i);
    }
    const std::uint32_t topicsAt = entriesEnd_;
    const std::uint32_t entriesAt = topicsAt + static_cast<std::uint32_t>(withTopic.size() * 4);

    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.u32(nodes_.empty() ? 0 : offsets_[0]);
    w.u32(entriesAt);
    w.u32(static_cast<std::uint32_t>(withTopic.size()));
    w.u32(topicsAt);
    std::uint16_t opened = 0; // entries with a topic so far, this one included
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        w.zeros(offsets_[i] - out.size());
        const bool book = firstChild_[i] != kNone;
        opened = static_cast<std::uint16_t>(opened + (nodes_[i].hasTopic ? 1 : 0));
        w.u16(0);
        w.u16(opened);
        w.u32((book ? kHasChildren : 0) | (nodes_[i].hasTopic ? kHasTopic : 0));
        w.u32(topicOrName[i]);
        w.u32(offsetOf(nodes_[i].parent));
        w.u32(offsetOf(nextSibling_[i]));
        if (book) {
            w.u32(offsets_[firstChild_[i]]);
            w.u32(0);
        }
    }
    w.zeros(topicsAt - out.size());
    for (const std::size_t i : withTopic)
        w.u32(topicOrName[i]);
    for (std::size_t n = 0; n < withTopic.size(); ++n) {
        w.u32(offsets_[withTopic[n]]);
        w.u32(kFirstTopicNumber + static_cast<std::uint32_t>(n));
        w.u32(topicOrName[withTopic[n]]);
    }
    return out;
}

} // namespace folvane::chm
