#include "hhc/HhcOptions.h"

#include "chm/platform/Utf8Path.h"
#include "host/HhcExitStatus.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace folvane::hhc {

namespace {

constexpr std::string_view kWindow = "--window";
constexpr std::string_view kIndexMemory = "--index-memory";
constexpr std::uint64_t kMaxIndexMegabytes = 1u << 20;

std::optional<std::uint64_t> megabytes(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > kMaxIndexMegabytes)
        return std::nullopt;
    return value;
}

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
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::filesystem::path& argument = arguments[i];
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
        } else if (text == "--force") {
            options.compile.replaceAnyOutput = true;
        } else if (text == kIndexMemory || text.starts_with(std::string(kIndexMemory) + "=")) {
            std::string value;
            if (text.size() > kIndexMemory.size())
                value = text.substr(kIndexMemory.size() + 1);
            else if (i + 1 < arguments.size())
                value = chm::utf8FromPath(arguments[++i]);
            const std::optional<std::uint64_t> mb = megabytes(value);
            if (!mb) {
                options.error = "--index-memory 需要一个兆字节数（1 到 1048576）";
                return options;
            }
            options.compile.indexMemoryBytes = *mb << 20;
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
    std::string text = "用法：hhc [--force] [--index-memory MB] ";
    if (windowOption)
        text += "[--window[=X,Y,宽,高]] ";
    text += "项目文件.hhp\n"
            "把 HTML Help 项目编译为帮助文件（.chm）。\n\n";
    if (windowOption)
        text += "  --window             在窗口里显示编译的输出，而不是在终端里\n"
                "  --window=X,Y,宽,高   同上，窗口开在屏幕上这个矩形的正中\n";
    text += "  --force              输出处已有的文件不是帮助文件或是只读的，也替换它\n"
            "  --index-memory MB    全文搜索索引在内存中最多占用多少兆字节，超出的部分暂存到输出旁的文件\n"
            "  -h, --help, /?       显示本说明\n\n"
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
