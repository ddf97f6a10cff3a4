#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace folvane::chm {

class StringTable;

// #TOPICS, #URLTBL and #URLSTR: one topic per page of the contents, with its title and
// address, which viewers use to name pages in their history and title bar.
class TopicTables {
public:
    explicit TopicTables(StringTable& strings);

    // title and url in the help file's code page; url relative to the root. A url already
    // added keeps its first title.
    void add(const std::string& title, const std::string& url);
    std::size_t count() const { return count_; }

    const std::vector<std::uint8_t>& topics() const { return topics_; }
    const std::vector<std::uint8_t>& urlTable() const { return urlTable_; }
    const std::vector<std::uint8_t>& urlStrings() const { return urlStrings_; }

private:
    std::uint32_t addUrlString(const std::string& url);
    std::uint32_t addUrlEntry(std::uint32_t topic, std::uint32_t urlString);

    StringTable& strings_;
    std::vector<std::uint8_t> topics_;
    std::vector<std::uint8_t> urlTable_;
    std::vector<std::uint8_t> urlStrings_;
    std::unordered_set<std::string> urls_;
    std::size_t count_ = 0;
};

} // namespace folvane::chm
