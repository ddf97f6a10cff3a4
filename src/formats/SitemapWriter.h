#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace folvane::formats {

// A contents file in UTF-8, written entry by entry into one buffer: each entry in the lists
// its depth asks for (0: the top list), indented by as many tabs, names and targets as
// appendWrittenValue writes them, CR LF after every line.
class SitemapWriter {
public:
    // generator: the <meta> GENERATOR's content; entries: how many will come.
    SitemapWriter(std::string_view generator, std::size_t entries);
    void addTopic(int depth, std::string_view name, std::string_view local);
    void addBook(int depth, std::string_view name);
    std::string finish(); // the whole text, once every entry is in

private:
    void enter(int depth);
    void put(const auto&... parts) { (out_.append(parts), ...); }
    static std::string tabs(int n) { return std::string(static_cast<std::size_t>(n), '\t'); }

    std::string out_;
    int depth_ = -1; // the last entry's, -1 before the first
};

} // namespace folvane::formats
