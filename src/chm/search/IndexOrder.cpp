#include "chm/search/IndexOrder.h"

#include "base/CodePage.h"
#include "chm/search/WordBreaker.h"

#include <algorithm>

namespace folvane::chm {

namespace {
int compareFolded(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        x = (x >= 'A' && x <= 'Z') ? x + 32 : x;
        y = (y >= 'A' && y <= 'Z') ? y + 32 : y;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
} // namespace

std::string IndexOrder::spelling(std::string_view utf8, std::uint32_t codePage) {
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(utf8);
    std::string converted = CodePage::fromUtf8(utf8, codePage, CodePage::Unmappable::NumericReference);
    if (converted.find('&') != std::string::npos || converted.size() > WordBreaker::kMaxWordBytes)
        return std::string(utf8);
    return converted;
}

bool IndexOrder::before(const Key& a, const Key& b) {
    if (const int c = compareFolded(a.stored, b.stored); c != 0)
        return c < 0;
    if (a.stored != b.stored)
        return a.stored < b.stored;
    if (a.title != b.title)
        return !a.title;
    return a.text < b.text;
}

} // namespace folvane::chm
