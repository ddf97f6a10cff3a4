#include "chm/itsf/DirectoryEntry.h"

#include "base/AsciiText.h"

#include <algorithm>

namespace folvane::chm {

namespace {
unsigned char folded(char c) {
    return static_cast<unsigned char>(AsciiText::lower(c));
}
} // namespace

int compareDirectoryNames(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = folded(a[i]);
        const unsigned char y = folded(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace folvane::chm
