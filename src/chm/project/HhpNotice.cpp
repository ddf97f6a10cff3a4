#include "chm/project/HhpNotice.h"

#include "base/Utf8.h"

namespace folvane::chm {

namespace {

constexpr std::size_t kShownBytes = 60;

// Text from the file, shortened on a character boundary: a garbled line must not flood
// the user's screen.
std::string shown(std::string_view text) {
    if (text.size() <= kShownBytes)
        return std::string(text);
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + Utf8::decode(text, end).length;
        if (next > kShownBytes)
            break;
        end = next;
    }
    return std::string(text.substr(0, end)) + "…";
}

// The listener that shows a notice gives it its prefix.
std::string notice(std::string_view text) {
    return std::string(text);
}

} // namespace

std::string HhpNotice::ignoredOption(std::string_view key) {
    return notice("忽略选项 " + shown(key));
}

std::string HhpNotice::unknownOption(std::string_view key) {
    return notice("忽略未知选项 " + shown(key));
}

std::string HhpNotice::unknownLanguage(std::string_view value) {
    return notice("无法识别语言 " + shown(value) + "，已忽略");
}

std::string HhpNotice::unknownSwitch(std::string_view key, std::string_view value) {
    return notice(std::string(key) + " 的值 " + shown(value) + " 无法识别，按 No 处理");
}

std::string HhpNotice::notAnOption(std::size_t lineNumber) {
    return notice("忽略第 " + std::to_string(lineNumber) + " 行（不是“选项=值”）");
}

std::string HhpNotice::notAWindow(std::size_t lineNumber) {
    return notice("忽略第 " + std::to_string(lineNumber) + " 行（不是“窗口名=定义”）");
}

std::string HhpNotice::ignoredEntries(std::string_view section, std::size_t count) {
    return notice("忽略 [" + shown(section) + "] 中的 " + std::to_string(count) + " 项");
}

std::string HhpNotice::outsideSections(std::size_t count) {
    return notice("忽略第一节之前的 " + std::to_string(count) + " 行");
}

} // namespace folvane::chm
