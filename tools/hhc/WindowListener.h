#pragma once

#include "hhc/HhcCommand.h"

#include <atomic>

namespace folvane::hhc {

class HhcWindow;

// Hands a compile's lines from the compiling thread to the window, and ends the compile
// at its next step once the window is closed.
class WindowListener : public HhcReport {
public:
    explicit WindowListener(HhcWindow* window);

    void notice(const std::string& text) override;
    void warning(const std::string& text) override;
    void progress(std::uint64_t done, std::uint64_t total) override;
    void finished(bool succeeded, bool complete, const std::string& text) override;
    void written(const std::string& outputFile) override;

    void cancel() { cancelled_ = true; }

private:
    void post(const std::string& text);

    HhcWindow* window_; // outlives the compile
    std::atomic<bool> cancelled_{false};
};

} // namespace folvane::hhc
