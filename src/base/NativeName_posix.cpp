#include "base/NativeName.h"

#include "base/AsciiText.h"
#include "base/CodePage.h"

#include <algorithm>
#include <sys/stat.h>

namespace folvane {

namespace {
bool exists(const std::string& path) {
    struct stat info = {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Windows names hold no "?": one more in the code page's spelling stands for a character it lacks.
bool spellsWhole(std::string_view utf8, const std::string& ansi) {
    return std::ranges::count(ansi, '?') == std::ranges::count(utf8, '?');
}
} // namespace

std::string nativeSpelling(std::string_view utf8, std::uint32_t codePage) {
    if (AsciiText::isAscii(utf8) || exists(std::string(utf8)) || !CodePage::supported(codePage))
        return std::string(utf8);
    std::string built;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = utf8.find('/', start);
        const std::string_view step = utf8.substr(start, end == std::string_view::npos ? end : end - start);
        std::string spelled(step);
        if (!AsciiText::isAscii(step) && !exists(built + spelled)) {
            const std::string ansi = CodePage::fromUtf8(step, codePage, CodePage::Unmappable::Question);
            if (spellsWhole(step, ansi) && exists(built + ansi))
                spelled = ansi;
        }
        built += spelled;
        if (end == std::string_view::npos)
            break;
        built += '/';
        start = end + 1;
    }
    return built;
}

} // namespace folvane
