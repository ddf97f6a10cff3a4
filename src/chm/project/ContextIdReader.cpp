#include "chm/project/ContextIdReader.h"

#include "base/AsciiText.h"

#include <algorithm>
#include <utility>

namespace folvane::chm {

namespace {

bool startsWith(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && AsciiText::equalsIgnoringCase(text.substr(0, word.size()), word);
}

bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The text before a C comment.
std::string_view withoutComment(std::string_view text) {
    return AsciiText::trimmed(text.substr(0, std::min(text.find("//"), text.find("/*"))));
}

// "1001", "0x3E9", "(1001)" or "1001u" as a number.
std::optional<std::uint32_t> defineValue(std::string_view value) {
    if (value.size() >= 2 && value.front() == '(' && value.back() == ')')
        value = AsciiText::trimmed(value.substr(1, value.size() - 2));
    while (!value.empty() && (value.back() == 'u' || value.back() == 'U' || value.back() == 'l' || value.back() == 'L'))
        value.remove_suffix(1);
    return AsciiText::number(value);
}

std::string_view unquoted(std::string_view text) {
    if (text.size() >= 2 &&
        ((text.front() == '"' && text.back() == '"') || (text.front() == '<' && text.back() == '>')))
        return AsciiText::trimmed(text.substr(1, text.size() - 2));
    return text;
}

// The lines of a text without their ends, numbered from 1.
template <typename Each> void eachLine(std::string_view text, Each each) {
    std::size_t number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        each(text.substr(at, end - at), ++number);
        at = end;
        if (at < text.size() && text[at] == '\r')
            ++at;
        if (at < text.size() && text[at] == '\n')
            ++at;
    }
}

} // namespace

ContextIdReader::ContextIdReader(std::string projectName, std::string projectPath, Include include)
    : projectName_(std::move(projectName)), projectPath_(std::move(projectPath)), include_(std::move(include)) {}

std::vector<ContextTopic> ContextIdReader::read(const std::vector<HhpLine>& map, const std::vector<HhpLine>& aliases) {
    const Source project{projectName_, projectPath_, true};
    for (const HhpLine& line : map)
        readLine(line.text, project, line.number, false);
    for (const HhpLine& line : aliases)
        readLine(line.text, project, line.number, true);

    std::vector<ContextTopic> topics;
    for (const std::string& key : numberOrder_) {
        const Named& number = numbers_.at(key);
        const auto alias = aliases_.find(key);
        if (alias == aliases_.end())
            warn(number.place, "编号 " + number.name + " 在 [ALIAS] 中没有别名");
        else
            topics.push_back({number.id, alias->second.topic, alias->second.place});
    }
    for (const std::string& key : aliasOrder_) {
        const Named& alias = aliases_.at(key);
        if (numbers_.find(key) == numbers_.end())
            warn(alias.place, "别名 " + alias.name + " 在 [MAP] 中没有编号");
    }
    return topics;
}

void ContextIdReader::readLine(std::string_view line, const Source& source, std::size_t number, bool aliases) {
    const std::string_view text = AsciiText::trimmed(line);
    const SourcePlace place{source.shownName, number};
    if (text.empty() || text.front() == ';' || startsWith(text, "//"))
        return;
    if (text.front() == '#') {
        const std::string_view directive = AsciiText::trimmed(text.substr(1));
        if (startsWith(directive, "include"))
            include(withoutComment(directive.substr(7)), source, number, aliases);
        else if (!aliases && startsWith(directive, "define") && !define(directive.substr(6), place) && source.inProject)
            warn(place, "#define 的值不是编号，已忽略");
        // Other lines of a C header (#ifndef, #pragma ...) say nothing here.
        return;
    }
    if (aliases)
        alias(text, place);
    else if (!define(text, place) && source.inProject)
        warn(place, "不是“#define 名称 编号”，已忽略");
}

void ContextIdReader::include(std::string_view written, const Source& source, std::size_t number, bool aliases) {
    const SourcePlace place{source.shownName, number};
    const std::string name(unquoted(written));
    if (name.empty()) {
        warn(place, "#include 没有写文件名");
        return;
    }
    std::string error;
    const std::optional<IncludedText> file = include_(source.path, name, error);
    if (!file) {
        warn(place, "#include " + name + " 不能读取：" + error);
        return;
    }
    if (!included_.insert((aliases ? "a" : "m") + file->fullPath).second)
        return;
    const Source inner{file->shownName, file->fullPath, false};
    eachLine(file->utf8, [&](std::string_view line, std::size_t n) { readLine(line, inner, n, aliases); });
}

bool ContextIdReader::define(std::string_view line, const SourcePlace& place) {
    const std::string_view text = withoutComment(line);
    std::size_t end = 0;
    while (end < text.size() && isNameCharacter(text[end]))
        ++end;
    if (end == 0 || (text[0] >= '0' && text[0] <= '9') || end == text.size() || !AsciiText::isBlank(text[end]))
        return false;
    const std::optional<std::uint32_t> id = defineValue(AsciiText::trimmed(text.substr(end)));
    if (!id)
        return false;
    add(numbers_, numberOrder_, {std::string(text.substr(0, end)), *id, {}, place});
    return true;
}

void ContextIdReader::alias(std::string_view line, const SourcePlace& place) {
    const std::size_t equals = line.find('=');
    const std::string_view name = AsciiText::trimmed(line.substr(0, equals));
    const std::string_view topic =
        equals == std::string_view::npos ? std::string_view() : unquoted(AsciiText::trimmed(line.substr(equals + 1)));
    if (name.empty() || topic.empty()) {
        warn(place, "不是“别名=文件”，已忽略");
        return;
    }
    add(aliases_, aliasOrder_, {std::string(name), 0, std::string(topic), place});
}

void ContextIdReader::add(std::unordered_map<std::string, Named>& names, std::vector<std::string>& order, Named named) {
    std::string key = AsciiText::lowered(named.name);
    const auto known = names.find(key);
    if (known != names.end()) {
        warn(named.place, named.name + " 已在 " + known->second.place.file + " 第 " +
                              std::to_string(known->second.place.line) + " 行定义，这一行已忽略");
        return;
    }
    order.push_back(key);
    names.emplace(std::move(key), std::move(named));
}

void ContextIdReader::warn(const SourcePlace& place, const std::string& text) {
    warnings_.push_back(message(place, text));
}

std::string ContextIdReader::message(const SourcePlace& place, const std::string& text) {
    return place.file + " 第 " + std::to_string(place.line) + " 行：" + text;
}

} // namespace folvane::chm
