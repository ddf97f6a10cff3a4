#include "WordPicker.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace folvane {

namespace {
constexpr std::array kCommonEnglish{
    "the",       "of",       "to",        "and",      "a",        "in",        "is",       "for",       "you",
    "that",      "this",     "on",        "with",     "as",       "are",       "be",       "it",        "or",
    "can",       "by",       "from",      "if",       "an",       "not",       "when",     "which",     "will",
    "file",      "click",    "select",    "page",     "each",     "your",      "all",      "box",       "new",
    "use",       "open",     "folder",    "name",     "window",   "list",      "option",   "text",      "menu",
    "project",   "help",     "dialog",    "button",   "setting",  "type",      "then",     "value",     "more",
    "entry",     "contents", "title",     "see",      "also",     "only",      "one",      "two",       "first",
    "display",   "table",    "order",     "topic",    "link",     "image",     "default",  "change",    "save",
    "program",   "user",     "command",   "format",   "example",  "line",      "field",    "choose",    "data",
    "path",      "index",    "search",    "output",   "input",    "view",      "edit",     "insert",    "remove",
    "item",      "returns",  "string",    "number",   "error",    "message",   "appears",  "shown",     "following",
    "section",   "under",    "into",      "after",    "before",   "these",     "there",    "other",     "same",
    "any",       "must",     "should",    "has",      "have",     "does",      "used",     "using",     "make",
    "set",       "how",      "what",      "where",    "without",  "between",   "about",    "within",    "while",
    "compile",   "document", "chapter",   "keyword",  "property", "parameter", "function", "reference", "language",
    "character", "encoding", "directory", "position", "selected", "available", "contains", "previous",  "next",
};

const char* const kSyllables[] = {"ba", "con", "de",  "fer", "gra", "im",   "ker", "lo",   "men", "na",
                                  "or", "pre", "quo", "ri",  "sta", "tion", "un",  "ver",  "wex", "zy",
                                  "al", "ble", "cor", "dis", "ent", "ful",  "ing", "ment", "pro", "ty"};

// Frequent characters of Chinese technical text; the rest of the pool is taken evenly from
// the whole unified ideographs block.
const char* const kCommonChinese = "的是在了不和有这个中为以上可用文件帮助页面目录点击选择设置打开保存名称窗口"
                                   "内容标题编译项目输入输出显示列表按钮对话框默认数据搜索索引链接图片格式字符";

constexpr std::uint64_t kWeightScale = 1'000'000;
constexpr int kChinesePool = 3000;

void appendCodePoint(std::string& out, std::uint32_t c) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
}

std::vector<std::string> chineseCharacters() {
    std::vector<std::string> pool;
    const std::string common(kCommonChinese);
    for (std::size_t i = 0; i + 3 <= common.size(); i += 3)
        pool.push_back(common.substr(i, 3));
    for (std::uint32_t k = 0; pool.size() < kChinesePool; ++k) {
        std::string c;
        appendCodePoint(c, 0x4E00 + (k * 7919) % 20902);
        pool.push_back(c);
    }
    return pool;
}
} // namespace

WordPicker WordPicker::english(std::mt19937& random, int size) {
    WordPicker words;
    for (const char* w : kCommonEnglish)
        words.add(w);
    while (static_cast<int>(words.words_.size()) < size) {
        std::string w;
        for (int n = 2 + static_cast<int>(random() % 2); n > 0; --n)
            w += kSyllables[random() % std::size(kSyllables)];
        words.add(w);
    }
    return words;
}

WordPicker WordPicker::chinese(std::mt19937& random, int size) {
    const std::vector<std::string> pool = chineseCharacters();
    WordPicker words;
    for (int rank = 0; rank < size; ++rank) {
        std::string w;
        for (int n = rank < 400 ? 1 : rank < 3000 ? 2 : 3; n > 0; --n) {
            // Squaring skews the draw towards the front of the pool, where the common ones are.
            const std::uint64_t u = random() % kChinesePool;
            w += pool[u * u / kChinesePool];
        }
        words.add(w);
    }
    return words;
}

void WordPicker::add(std::string word) {
    const std::uint64_t weight = kWeightScale / (words_.size() + 2);
    cumulative_.push_back((cumulative_.empty() ? 0 : cumulative_.back()) + weight);
    words_.push_back(std::move(word));
}

const std::string& WordPicker::pick(std::mt19937& random) const {
    const std::uint64_t draw = (static_cast<std::uint64_t>(random()) << 32 | random()) % cumulative_.back();
    const auto at = std::upper_bound(cumulative_.begin(), cumulative_.end(), draw) - cumulative_.begin();
    return words_[static_cast<std::size_t>(at)];
}

} // namespace folvane
