#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace folvane::chm {

// An entry of the contents tree, in the order the contents file lists it.
struct TocNode {
    static constexpr std::size_t kTop = static_cast<std::size_t>(-1);
    std::size_t parent = kTop; // an earlier node, or kTop
    bool hasTopic = false;     // it opens a page
};

// #TOCIDX, the binary contents: a 4 KiB header, then the entries, each with its flags, its
// #TOPICS index (or the #STRINGS offset of its name when it opens no page) and the offsets
// of its parent, next sibling and first child; then the topic of every entry that opens a
// page, and for those entries their offset, a running number and their topic. No entry
// crosses a 4 KiB block, as viewers read the file block by block.
class TocIndexFile {
public:
    explicit TocIndexFile(const std::vector<TocNode>& nodes);

    // Where entry i lies in the file, for #TOPICS.
    std::uint32_t offset(std::size_t i) const { return offsets_[i]; }
    // topicOrName[i]: the #TOPICS index of node i when it has a topic, else the #STRINGS
    // offset of its name.
    std::vector<std::uint8_t> bytes(const std::vector<std::uint32_t>& topicOrName) const;

private:
    std::vector<TocNode> nodes_;
    std::vector<std::size_t> firstChild_;
    std::vector<std::size_t> nextSibling_;
    std::vector<std::uint32_t> offsets_;
    std::uint32_t entriesEnd_ = 0;
};

} // namespace folvane::chm
