#include "chm/compile/LinkedFiles.h"

#include "base/Utf8.h"
#include "chm/compile/CompileListener.h"
#include "chm/compile/FileLocator.h"
#include "chm/compile/LocalLinks.h"
#include "chm/compile/PageList.h"
#include "chm/platform/InputFile.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <span>
#include <thread>

namespace folvane::chm {

namespace {

constexpr std::size_t kBatchPages = 1024;
// A page's references are looked for in this much of it, as the search index reads words.
constexpr std::size_t kMaxScannedBytes = 32u << 20;
constexpr std::size_t kMissingShown = 20;

std::string leadingPart(const std::filesystem::path& file, std::size_t maxBytes) {
    InputFile input;
    std::string error;
    if (!input.open(file, error))
        return {};
    std::string bytes(static_cast<std::size_t>(std::min<std::uint64_t>(input.size(), maxBytes)), '\0');
    std::size_t done = 0;
    try {
        while (done < bytes.size()) {
            const std::size_t n = input.read(
                std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(bytes.data()) + done, bytes.size() - done));
            if (n == 0)
                break;
            done += n;
        }
    } catch (const std::exception&) {
        // What cannot be read now fails the compile when the file is stored.
    }
    bytes.resize(done);
    return bytes;
}

std::string folderOf(const std::string& fullPath) {
    const std::size_t slash = fullPath.rfind('/');
    return slash == std::string::npos ? std::string() : fullPath.substr(0, slash);
}

// The file part of a reference: no fragment, no query, "/" between folders, escapes decoded.
std::string filePart(const std::string& target) {
    std::string path = target.substr(0, target.find_first_of("#?"));
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::string decoded = percentDecoded(path);
    return Utf8::isValid(decoded) ? decoded : path;
}

bool hasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z');
}

} // namespace

LinkedFiles::LinkedFiles(PageList& pages, FileLocator& locator, CompileListener& listener, unsigned threads,
                         std::uint32_t fallbackCodePage)
    : pages_(pages), locator_(locator), listener_(listener),
      threads_(threads == 0 ? std::max(1u, std::thread::hardware_concurrency()) : threads),
      fallbackCodePage_(fallbackCodePage) {}

void LinkedFiles::addFromRoot(const std::string& link) {
    follow(locator_.paths().folder(), {link, true}, {});
}

void LinkedFiles::follow(const std::string& fromFolder, const PageReference& reference, const std::string& referrer) {
    // Pages of one folder share most of their links: each is resolved once.
    const auto [known, fresh] = missing_.try_emplace(fromFolder + '\n' + reference.target, false);
    if (fresh)
        known->second = !reach(fromFolder, reference.target);
    if (known->second && !reference.quiet)
        reportMissing(referrer, reference.target);
}

bool LinkedFiles::reach(const std::string& fromFolder, const std::string& target) {
    if (hasUrlScheme(target) || target.starts_with("//") || target.starts_with("\\\\"))
        return true;
    const std::string path = filePart(target);
    if (path.empty() || path.back() == '/' || hasDrive(path))
        return true;
    const ProjectPaths& paths = locator_.paths();
    const std::string full = paths.resolveLiterally(path[0] == '/' ? paths.folder() + path : fromFolder + '/' + path);
    // Above the project folder: not a file of this help file.
    if (!paths.contains(full) || pages_.holds(paths.storedName(full)))
        return true;
    const LocatedFile file = locator_.locateFull(full);
    if (!file.exists)
        return false;
    if (pages_.addLinked(file))
        ++added_;
    return true;
}

void LinkedFiles::reportMissing(const std::string& referrer, const std::string& target) {
    if (++missingCount_ <= kMissingShown)
        listener_.warning("链接指向的文件不存在：" + referrer + " → " + target);
}

std::vector<std::vector<PageReference>> LinkedFiles::scan(std::size_t first, std::size_t last) const {
    std::vector<std::vector<PageReference>> found(last - first);
    std::atomic<std::size_t> next = first;
    const auto work = [&] {
        for (std::size_t i; (i = next++) < last;) {
            const PlannedPage& page = pages_.pages()[i];
            const bool html = isHtmlPageName(page.name);
            if (!html && !isStyleSheetName(page.name))
                continue;
            try {
                const std::string bytes = leadingPart(page.source, kMaxScannedBytes);
                found[i - first] = html ? PageReferences::ofHtml(bytes, fallbackCodePage_)
                                        : PageReferences::ofStyleSheet(bytes, fallbackCodePage_);
            } catch (const std::bad_alloc&) {
                // A page whose links cannot be read for want of memory still goes in itself.
            }
        }
    };
    const unsigned helpers = static_cast<unsigned>(std::min<std::size_t>(threads_, last - first)) - 1;
    std::vector<std::jthread> workers;
    for (unsigned t = 0; t < helpers; ++t)
        workers.emplace_back(work);
    work();
    workers.clear(); // joined before the results leave
    return found;
}

void LinkedFiles::run() {
    while (scanned_ < pages_.pages().size()) {
        const std::size_t first = scanned_;
        const std::size_t last = std::min(pages_.pages().size(), first + kBatchPages);
        std::vector<std::vector<PageReference>> found = scan(first, last);
        scanned_ = last;
        const ProjectPaths& paths = locator_.paths();
        for (std::size_t i = first; i < last; ++i) {
            // Copied: following a reference may add pages and move the list.
            const std::string name = pages_.pages()[i].name;
            // Links resolve as a viewer resolves them, against the page's name in the help
            // file; a page from outside the project folder links to nothing of it.
            if (!paths.contains(pages_.pages()[i].fullPath))
                continue;
            const std::string folder = folderOf(paths.folder() + name);
            for (const PageReference& reference : found[i - first])
                follow(folder, reference, name.substr(1));
        }
        // Lets an interrupt end a long scan: nothing is compressed yet.
        listener_.progress(0, 0);
    }
    if (missingCount_ > kMissingShown)
        listener_.warning("……另有 " + std::to_string(missingCount_ - kMissingShown) + " 个链接指向的文件不存在");
}

} // namespace folvane::chm
