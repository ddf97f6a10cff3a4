#include "chm/system/StringTable.h"

namespace folvane::chm {

StringTable::StringTable() : bytes_(1, 0) {}

std::uint32_t StringTable::add(std::string_view text) {
    if (text.empty())
        return 0;
    // A longer string could not stay inside one block.
    if (text.size() > kBlockSize - 1)
        text = text.substr(0, kBlockSize - 1);
    const auto known = offsets_.find(std::string(text));
    if (known != offsets_.end())
        return known->second;
    const std::size_t used = bytes_.size() % kBlockSize;
    if (used + text.size() + 1 > kBlockSize)
        bytes_.resize(bytes_.size() + (kBlockSize - used), 0);
    const auto offset = static_cast<std::uint32_t>(bytes_.size());
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
    offsets_.emplace(std::string(text), offset);
    return offset;
}

} // namespace folvane::chm
