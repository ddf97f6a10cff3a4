#include "hhc/CompileOptions.h"

#include <charconv>

namespace folvane::hhc {

namespace {
constexpr std::uint64_t kMaxIndexMegabytes = 1u << 20;

std::optional<std::uint64_t> megabytes(const std::string& text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > kMaxIndexMegabytes)
        return std::nullopt;
    return value;
}

std::string text(const std::filesystem::path& argument) {
    const std::u8string utf8 = argument.u8string();
    return std::string(utf8.begin(), utf8.end());
}
} // namespace

std::optional<std::string> takeCompileOptions(std::vector<std::filesystem::path>& arguments,
                                              chm::Compiler::Options& options) {
    std::vector<std::filesystem::path> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string arg = text(arguments[i]);
        if (arg == "--force") {
            options.replaceAnyOutput = true;
        } else if (arg == "--index-memory" || arg.starts_with("--index-memory=")) {
            std::string value;
            if (arg.size() > 14)
                value = arg.substr(15);
            else if (i + 1 < arguments.size())
                value = text(arguments[++i]);
            const std::optional<std::uint64_t> mb = megabytes(value);
            if (!mb)
                return "--index-memory 需要一个兆字节数（1 到 1048576）";
            options.indexMemoryBytes = *mb << 20;
        } else {
            rest.push_back(arguments[i]);
        }
    }
    arguments = std::move(rest);
    return std::nullopt;
}

} // namespace folvane::hhc
