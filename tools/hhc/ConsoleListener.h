#pragma once

#include "hhc/HhcCommand.h"

#include <chrono>
#include <cstdio>

namespace folvane::hhc {

// Prints a compile's lines; on a terminal also a progress line that the next line replaces.
class ConsoleListener : public HhcReport {
public:
    ConsoleListener(std::FILE* out, bool terminal);

    void notice(const std::string& text) override;
    void warning(const std::string& text) override;
    void progress(std::uint64_t done, std::uint64_t total) override;
    void finished(bool succeeded, bool complete, const std::string& text) override;

private:
    void line(const std::string& text);

    std::FILE* out_;
    bool terminal_;
    bool progressShown_ = false;
    std::chrono::steady_clock::time_point lastProgress_{};
};

} // namespace folvane::hhc
