#include "HelpPageWriter.h"

#include <array>

namespace folvane {

namespace {
constexpr int kEnglishWords = 12000;
constexpr int kChineseWords = 8000;
constexpr std::array kColours{"#c00000", "#0050a0", "#207020", "#606060", "#8040a0", "#b06000"};
constexpr std::array kTypes{"int", "bool", "string", "double", "handle", "list", "path", "colour"};

std::string capitalised(std::string s) {
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}
} // namespace

HelpPageWriter::HelpPageWriter(std::uint32_t seed, const std::vector<std::string>& pages,
                               const std::vector<std::string>& pictures)
    : random_(seed), english_(WordPicker::english(random_, kEnglishWords)),
      chinese_(WordPicker::chinese(random_, kChineseWords)), pages_(pages), pictures_(pictures) {}

std::string HelpPageWriter::page(const std::string& toRoot) {
    toRoot_ = toRoot;
    out_.clear();
    chineseText_ = chance(30);
    head();
    for (int n = 3 + static_cast<int>(random_() % 45); n > 0; --n)
        block();
    out_ += "<hr>\r\n<p class=\"footer\" style=\"font-size:8pt;color:#808080\">" + sentence() + " <a href=\"" +
            toRoot_ + "index.htm\">Home</a></p>\r\n</body>\r\n</html>\r\n";
    return std::move(out_);
}

std::string HelpPageWriter::words(int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += (i > 0 ? " " : "") + english_.pick(random_);
    return s;
}

std::string HelpPageWriter::sentence() {
    std::string s = capitalised(english_.pick(random_));
    for (int n = 5 + static_cast<int>(random_() % 20); n > 0; --n) {
        s += chance(6) ? ", " : " ";
        s += chance(4) ? num(5000) : english_.pick(random_);
    }
    return s + ". ";
}

// A sentence with some of its words marked up: links, emphasis, inline styles, code.
std::string HelpPageWriter::styledSentence() {
    std::string s = capitalised(english_.pick(random_));
    for (int n = 5 + static_cast<int>(random_() % 20); n > 0; --n) {
        s += ' ';
        const int roll = static_cast<int>(random_() % 100);
        const std::string& w = english_.pick(random_);
        if (roll < 3)
            s += link();
        else if (roll < 5)
            s += "<b>" + w + "</b>";
        else if (roll < 6)
            s += "<i>" + w + "</i>";
        else if (roll < 8)
            s += "<span style=\"color:" + std::string(kColours[random_() % kColours.size()]) + "\">" + w + "</span>";
        else if (roll < 9)
            s += "<code>" + w + "_" + english_.pick(random_) + "()</code>";
        else
            s += w;
    }
    return s + ". ";
}

std::string HelpPageWriter::chineseSentence() {
    std::string s;
    for (int n = 6 + static_cast<int>(random_() % 30); n > 0; --n) {
        if (chance(4))
            s += " " + english_.pick(random_) + " ";
        else
            s += chinese_.pick(random_);
        if (chance(8))
            s += "\xef\xbc\x8c"; // full-width comma
    }
    return s + "\xe3\x80\x82";
}

std::string HelpPageWriter::link() {
    const std::string& target = pages_[random_() % pages_.size()];
    const std::string anchor = chance(20) ? "#s" + num(8) : "";
    return "<a href=\"" + toRoot_ + target + anchor + "\">" + words(1 + static_cast<int>(random_() % 3)) + "</a>";
}

void HelpPageWriter::head() {
    const std::string title = chineseText_ ? chineseSentence() : words(2 + static_cast<int>(random_() % 5));
    out_ += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
            "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n<title>" +
            title + "</title>\r\n<link rel=\"stylesheet\" type=\"text/css\" href=\"" + toRoot_ +
            "styles/help.css\">\r\n<script type=\"text/javascript\" src=\"" + toRoot_ +
            "scripts/help.js\"></script>\r\n</head>\r\n<body>\r\n<p class=\"crumbs\"><a href=\"" + toRoot_ +
            "index.htm\">Home</a> &gt; " + link() + "</p>\r\n<h1>" + title + "</h1>\r\n";
}

void HelpPageWriter::paragraph() {
    out_ += chance(15) ? "<p style=\"margin-left:" + num(4) + "em\">" : std::string("<p>");
    for (int n = 1 + static_cast<int>(random_() % 6); n > 0; --n)
        out_ += chineseText_ && chance(80) ? chineseSentence() : styledSentence();
    out_ += "</p>\r\n";
}

void HelpPageWriter::list() {
    const bool ordered = chance(35);
    out_ += ordered ? "<ol>\r\n" : "<ul>\r\n";
    for (int n = 2 + static_cast<int>(random_() % 9); n > 0; --n)
        out_ += "  <li>" + (chineseText_ ? chineseSentence() : styledSentence()) + "</li>\r\n";
    out_ += ordered ? "</ol>\r\n" : "</ul>\r\n";
}

void HelpPageWriter::table() {
    out_ += "<table border=\"1\" cellpadding=\"4\" style=\"border-collapse:collapse;width:" +
            std::to_string(60 + random_() % 41) +
            "%\">\r\n<tr style=\"background:#e8e8f0\"><th>Name</th><th>Type</th><th>Description</th></tr>\r\n";
    for (int n = 1 + static_cast<int>(random_() % 10); n > 0; --n)
        out_ += "<tr><td><code>" + english_.pick(random_) + capitalised(english_.pick(random_)) + "</code></td><td>" +
                kTypes[random_() % kTypes.size()] + "</td><td>" + (chineseText_ ? chineseSentence() : sentence()) +
                "</td></tr>\r\n";
    out_ += "</table>\r\n";
}

void HelpPageWriter::code() {
    out_ += "<pre style=\"background:#f4f4f4;border:1px solid #ccc\">\r\n";
    for (int n = 2 + static_cast<int>(random_() % 12); n > 0; --n)
        out_ += std::string(4 * (random_() % 4), ' ') + english_.pick(random_) + "_" + english_.pick(random_) + " = " +
                english_.pick(random_) + "(" + num(1000) + ", &quot;" + words(2) + "&quot;);\r\n";
    out_ += "</pre>\r\n";
}

void HelpPageWriter::note() {
    out_ += "<div class=\"note\" style=\"border-left:3px solid " + std::string(kColours[random_() % kColours.size()]) +
            ";padding:4px\"><b>" + (chineseText_ ? std::string("\xe6\xb3\xa8\xe6\x84\x8f") : "Note") + "</b> " +
            (chineseText_ ? chineseSentence() : styledSentence()) + "</div>\r\n";
}

void HelpPageWriter::picture() {
    out_ += "<p align=\"center\"><img src=\"" + toRoot_ + pictures_[random_() % pictures_.size()] + "\" width=\"" +
            std::to_string(100 + random_() % 500) + "\" height=\"" + std::to_string(60 + random_() % 300) +
            "\" alt=\"" + words(3) + "\" border=\"0\"></p>\r\n";
}

void HelpPageWriter::block() {
    const int kind = static_cast<int>(random_() % 100);
    if (kind < 45)
        paragraph();
    else if (kind < 57)
        list();
    else if (kind < 65)
        table();
    else if (kind < 71)
        code();
    else if (kind < 76)
        note();
    else if (kind < 82)
        picture();
    else if (kind < 92)
        out_ +=
            "<h2 id=\"s" + num(8) + "\">" + (chineseText_ ? chineseSentence() : words(2 + random_() % 5)) + "</h2>\r\n";
    else
        out_ += "<h3>" + words(1 + static_cast<int>(random_() % 4)) + "</h3>\r\n";
}

} // namespace folvane
