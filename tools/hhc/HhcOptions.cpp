#include "hhc/HhcOptions.h"

#include "chm/platform/Utf8Path.h"
#include "hhc/ExitStatus.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace folvane::hhc {

namespace {

constexpr std::string_view kWindow = "--window";

std::optional<std::array<int, 4>> rectangle(std::string_view text) {
    std::array<int, 4> values{};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto [next, error] = std::from_chars(at, end, values[i]);
        if (error != std::errc() || next == at)
            return std::nullopt;
        at = next;
        if (i + 1 < values.size()) {
            if (at == end || *at != ',')
                return std::nullopt;
            ++at;
        }
    }
    if (at != end || values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    return values;
}

} // namespace

HhcOptions HhcOptions::parse(const std::vector<std::filesystem::path>& arguments) {
    HhcOptions options;
    bool optionsEnded = false;
    std::vector<std::filesystem::path> files;
    for (const std::filesystem::path& argument : arguments) {
        const std::string text = chm::utf8FromPath(argument);
        if (optionsEnded || text.empty() || text[0] != '-') {
            if (text == "/?") {
                options.action = Action::Help;
                return options;
            }
            files.push_back(argument);
        } else if (text == "--") {
            optionsEnded = true;
        } else if (text == "-h" || text == "--help") {
            options.action = Action::Help;
            return options;
        } else if (text == kWindow) {
            options.window = true;
        } else if (text.starts_with(std::string(kWindow) + "=")) {
            options.windowOver = rectangle(std::string_view(text).substr(kWindow.size() + 1));
            if (!options.windowOver) {
                options.error = "--window= 后应是 X,Y,宽,高（整数，宽和高大于 0）：" + text;
                return options;
            }
            options.window = true;
        } else {
            options.error = "未知选项：" + text;
            return options;
        }
    }
    if (files.size() != 1) {
        options.error = files.empty() ? "没有给出项目文件" : "只能给出一个项目文件";
        return options;
    }
    options.projectFile = files.front();
    options.action = Action::Compile;
    return options;
}

std::string usageText(bool windowOption) {
    std::string text = "用法：hhc ";
    if (windowOption)
        text += "[--window[=X,Y,宽,高]] ";
    text += "项目文件.hhp\n"
            "把 HTML Help 项目编译为帮助文件（.chm）。\n\n";
    if (windowOption)
        text += "  --window             在窗口里显示编译的输出，而不是在终端里\n"
                "  --window=X,Y,宽,高   同上，窗口开在屏幕上这个矩形的正中\n";
    text += "  -h, --help, /?       显示本说明\n\n"
            "退出状态：\n";
    std::vector<std::pair<int, const char*>> statuses{{kSucceeded, "编译成功"}, {kUsage, "命令行有误"}};
    if (kIncomplete != kFailed) {
        statuses.emplace_back(kFailed, "编译失败，原有的帮助文件不变");
        statuses.emplace_back(kIncomplete, "帮助文件已写出，但有列出的文件、目录文件或索引文件未能编入");
    } else {
        statuses.emplace_back(kFailed, "编译失败（原有的帮助文件不变），或有列出的文件、目录文件或索引文件未能编入");
    }
    std::sort(statuses.begin(), statuses.end());
    for (const auto& [value, meaning] : statuses)
        text += "  " + std::to_string(value) + "  " + meaning + "\n";
    return text;
}

} // namespace folvane::hhc
