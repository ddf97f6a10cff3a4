#include "chm/platform/FileSystemName.h"

#include "base/CodePage.h"
#include "chm/platform/Utf8Path.h"

#include <algorithm>
#include <string>
#include <sys/stat.h>

namespace folvane::chm {

namespace {
bool exists(const std::string& path) {
    struct stat info = {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}
} // namespace

std::filesystem::path fileSystemPath(std::string_view utf8, std::uint32_t codePage) {
    if (isAscii(utf8) || exists(std::string(utf8)) || !CodePage::supported(codePage))
        return pathFromUtf8(utf8);
    std::string built;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = utf8.find('/', start);
        const std::string_view step = utf8.substr(start, end == std::string_view::npos ? end : end - start);
        std::string spelled(step);
        if (!isAscii(step) && !exists(built + spelled)) {
            const std::string ansi = CodePage::fromUtf8(step, codePage, CodePage::Unmappable::Question);
            if (ansi.find('?') == std::string::npos && exists(built + ansi))
                spelled = ansi;
        }
        built += spelled;
        if (end == std::string_view::npos)
            break;
        built += '/';
        start = end + 1;
    }
    return std::filesystem::path(built);
}

} // namespace folvane::chm
