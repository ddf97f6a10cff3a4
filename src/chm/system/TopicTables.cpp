#include "chm/system/TopicTables.h"

#include "base/AsciiText.h"
#include "chm/itsf/ByteWriter.h"
#include "chm/system/StringTable.h"

namespace folvane::chm {

namespace {
constexpr std::uint32_t kNoTitle = 0xFFFFFFFF;
// #URLTBL holds 341 entries of 12 bytes per 4 KiB block; #URLSTR entries stay inside
// 16 KiB blocks. Viewers read both block by block.
constexpr std::size_t kUrlTableBlock = 0x1000;
constexpr std::size_t kUrlEntrySize = 12;
constexpr std::size_t kTopicSize = 16;
constexpr std::size_t kUrlStringBlock = 0x4000;
constexpr std::size_t kMaxUrl = kUrlStringBlock - 10;
// The topic is listed in the contents.
constexpr std::uint16_t kInContents = 2;
} // namespace

TopicTables::TopicTables(StringTable& strings) : strings_(strings), urlStrings_(1, 0) {}

std::uint32_t TopicTables::addUrlString(const std::string& url) {
    const std::string text = url.substr(0, kMaxUrl);
    const std::size_t entry = 8 + text.size() + 1;
    const std::size_t used = urlStrings_.size() % kUrlStringBlock;
    if (used + entry > kUrlStringBlock) {
        urlStrings_.resize(urlStrings_.size() + (kUrlStringBlock - used), 0);
        urlStrings_.push_back(0);
    }
    const auto offset = static_cast<std::uint32_t>(urlStrings_.size());
    ByteWriter w(urlStrings_);
    w.u32(0); // the address of a topic in a merged file
    w.u32(0); // frame name
    w.text(text);
    w.u8(0);
    return offset;
}

std::uint32_t TopicTables::addUrlEntry(std::uint32_t topic, std::uint32_t urlString) {
    if (urlTable_.size() % kUrlTableBlock + kUrlEntrySize > kUrlTableBlock)
        urlTable_.resize(urlTable_.size() + kUrlTableBlock - urlTable_.size() % kUrlTableBlock, 0);
    const auto offset = static_cast<std::uint32_t>(urlTable_.size());
    ByteWriter w(urlTable_);
    w.u32(0);
    w.u32(topic);
    w.u32(urlString);
    return offset;
}

std::uint32_t TopicTables::addTopic(const std::string& title, std::uint32_t urlString) {
    const auto topic = static_cast<std::uint32_t>(count_++);
    const std::uint32_t urlEntry = addUrlEntry(topic, urlString);
    ByteWriter w(topics_);
    w.u32(0); // no binary contents
    w.u32(title.empty() ? kNoTitle : strings_.add(title));
    w.u32(urlEntry);
    w.u16(kInContents);
    w.u16(0);
    return topic;
}

void TopicTables::add(const std::string& title, const std::string& url) {
    topicOf(title, url);
}

std::uint32_t TopicTables::topicOf(const std::string& title, const std::string& url) {
    std::string key = AsciiText::lowered(url);
    const auto known = urls_.find(key);
    if (known != urls_.end())
        return known->second.topic;
    const std::uint32_t string = addUrlString(url);
    const std::uint32_t topic = addTopic(title, string);
    urls_.emplace(std::move(key), Url{topic, string});
    titled_.emplace(AsciiText::lowered(url) + '\0' + title, topic);
    return topic;
}

std::uint32_t TopicTables::titledTopic(const std::string& title, const std::string& url) {
    const std::string key = AsciiText::lowered(url);
    const auto known = urls_.find(key);
    if (known == urls_.end())
        return topicOf(title, url);
    const auto titled = titled_.find(key + '\0' + title);
    if (titled != titled_.end())
        return titled->second;
    const std::uint32_t topic = addTopic(title, known->second.string);
    titled_.emplace(key + '\0' + title, topic);
    return topic;
}

void TopicTables::setContentsOffset(std::uint32_t topic, std::uint32_t offset) {
    putU32(topics_, std::size_t{topic} * kTopicSize, offset);
}

} // namespace folvane::chm
