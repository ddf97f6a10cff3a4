#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
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
    // The topic of url, added with this title when url has none yet.
    std::uint32_t topicOf(const std::string& title, const std::string& url);
    // A topic of url with exactly this title, added when there is none: binary contents
    // show an entry by its topic's title.
    std::uint32_t titledTopic(const std::string& title, const std::string& url);
    // Where the binary contents list the topic.
    void setContentsOffset(std::uint32_t topic, std::uint32_t offset);
    std::size_t count() const { return count_; }

    const std::vector<std::uint8_t>& topics() const { return topics_; }
    const std::vector<std::uint8_t>& urlTable() const { return urlTable_; }
    const std::vector<std::uint8_t>& urlStrings() const { return urlStrings_; }

private:
    struct Url {
        std::uint32_t topic;
        std::uint32_t string;
    };

    std::uint32_t addUrlString(const std::string& url);
    std::uint32_t addUrlEntry(std::uint32_t topic, std::uint32_t urlString);
    std::uint32_t addTopic(const std::string& title, std::uint32_t urlString);

    StringTable& strings_;
    std::vector<std::uint8_t> topics_;
    std::vector<std::uint8_t> urlTable_;
    std::vector<std::uint8_t> urlStrings_;
    // By url in lower case: its first topic and its #URLSTR entry.
    std::unordered_map<std::string, Url> urls_;
    std::unordered_map<std::string, std::uint32_t> titled_;
    std::size_t count_ = 0;
};

} // namespace folvane::chm
