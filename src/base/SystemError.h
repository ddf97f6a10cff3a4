#pragma once

#include <string>

namespace folvane {

// The system's description of its last error (errno, or GetLastError on Windows), as UTF-8.
std::string lastSystemError();

} // namespace folvane
