#pragma once

#include "WordPicker.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace folvane {

// Writes help pages the way authoring tools leave them: a title, headings, paragraphs of
// English or Chinese prose with inline styles and links, lists, tables, code, notes and
// pictures. Deterministic for a given seed.
class HelpPageWriter {
public:
    // `pages` and `pictures` are paths from the site's root, the targets of links and images.
    HelpPageWriter(std::uint32_t seed, const std::vector<std::string>& pages, const std::vector<std::string>& pictures);

    // One page; `toRoot` leads from the page's folder to the site's root ("../../").
    std::string page(const std::string& toRoot);

private:
    std::string num(std::uint32_t limit) { return std::to_string(random_() % limit); }
    bool chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
    std::string words(int count);
    std::string sentence();
    std::string styledSentence();
    std::string chineseSentence();
    std::string link();
    void head();
    void paragraph();
    void list();
    void table();
    void code();
    void note();
    void picture();
    void block();

    std::mt19937 random_;
    WordPicker english_;
    WordPicker chinese_;
    const std::vector<std::string>& pages_;
    const std::vector<std::string>& pictures_;
    std::string toRoot_;
    std::string out_;
    bool chineseText_ = false;
};

} // namespace folvane
