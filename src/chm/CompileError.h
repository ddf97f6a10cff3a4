#pragma once

#include <stdexcept>
#include <string>

namespace folvane::chm {

// Ends a compile; the text (UTF-8) is what the user reads. The previous help file stays.
class CompileError : public std::runtime_error {
public:
    explicit CompileError(const std::string& text) : std::runtime_error(text) {}
};

} // namespace folvane::chm
