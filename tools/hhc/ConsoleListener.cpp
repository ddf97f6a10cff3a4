#include "hhc/ConsoleListener.h"

#include "chm/CompileError.h"
#include "hhc/ConsoleText.h"

namespace folvane::hhc {

namespace {
constexpr auto kProgressInterval = std::chrono::milliseconds(100);
// Wider than "正在压缩 100%", whose Chinese characters take two columns each.
constexpr std::size_t kProgressColumns = 16;
} // namespace

ConsoleListener::ConsoleListener(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}

void ConsoleListener::line(const std::string& text) {
    std::string output;
    // Blank the progress line with spaces rather than leave it half behind: not every console
    // reads escape sequences.
    if (progressShown_)
        output = "\r" + std::string(kProgressColumns, ' ') + "\r";
    progressShown_ = false;
    output += text;
    output += '\n';
    writeText(out_, output);
}

void ConsoleListener::notice(const std::string& text) {
    line(kNoticePrefix + text);
}

void ConsoleListener::warning(const std::string& text) {
    line(kWarningPrefix + text);
}

void ConsoleListener::progress(std::uint64_t done, std::uint64_t total) {
    if (interrupted())
        throw chm::CompileError("已中断");
    if (!terminal_ || total == 0)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastProgress_ < kProgressInterval && done < total)
        return;
    lastProgress_ = now;
    const auto percent = static_cast<unsigned>(done * 100 / total);
    writeText(out_, "\r正在压缩 " + std::to_string(percent) + "%");
    progressShown_ = true;
}

void ConsoleListener::finished(bool, bool, const std::string& text) {
    line(text);
}

} // namespace folvane::hhc
