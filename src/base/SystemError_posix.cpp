#include "base/SystemError.h"

#include <cerrno>
#include <cstring>

namespace folvane {

namespace {
// strerror_r comes in a GNU flavour, which may return a static text, and a POSIX one.
[[maybe_unused]] std::string describe(const char* gnuResult, const char*) {
    return gnuResult;
}
[[maybe_unused]] std::string describe(int, const char* buffer) {
    return buffer;
}
} // namespace

std::string lastSystemError() {
    const int code = errno;
    char buffer[256] = {};
    return describe(strerror_r(code, buffer, sizeof buffer), buffer);
}

} // namespace folvane
