#include "chm/platform/SystemMemory.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <unistd.h>

namespace folvane::chm {

std::uint64_t usableMemoryBytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    std::uint64_t bytes = pages > 0 && pageSize > 0 ? static_cast<std::uint64_t>(pages) * pageSize : 0;
    // A control group's limit (a container) is what the system enforces.
    std::ifstream limit("/sys/fs/cgroup/memory.max");
    std::string text;
    if (limit >> text && !text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
        const std::uint64_t group = std::stoull(text);
        bytes = bytes == 0 ? group : std::min(bytes, group);
    }
    return bytes;
}

} // namespace folvane::chm
