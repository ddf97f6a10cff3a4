#pragma once

#include <cstdint>
#include <string>

namespace folvane::chm {

// Hears what a compile has to say. Texts are UTF-8, one line each, without line end.
class CompileListener {
public:
    virtual ~CompileListener() = default;

    // Something left without effect, said once (an option we ignore, a file skipped on purpose).
    virtual void notice(const std::string& text) = 0;
    // Something the user should fix; the compile goes on without it.
    virtual void warning(const std::string& text) = 0;
    // Bytes compressed so far out of all.
    virtual void progress(std::uint64_t done, std::uint64_t total) = 0;
};

} // namespace folvane::chm
