#pragma once

#include "chm/compile/ProjectPaths.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace folvane::chm {

class CompileListener;
class FileLocator;
struct LocatedFile;

// A file of the project, as it will be stored.
struct PlannedPage {
    std::string name;     // in the help file
    std::string fullPath; // UTF-8, for messages
    std::filesystem::path source;
    std::uint64_t size = 0;
};

// The files a help file stores, checked and named: each file is opened once to learn that
// it can be read and how long it is. What cannot be stored is named to the listener.
class PageList {
public:
    // nameCodePage: the code page a name not found in UTF-8 is looked for in (fileSystemPath).
    PageList(FileLocator& locator, CompileListener& listener, std::uint32_t nameCodePage);

    // A name taken by the compiler itself.
    void reserve(const std::string& name);
    // A file stored in another way (the contents file): left out of the list quietly.
    void storeElsewhere(const std::string& fullPath);
    // Files that must never go into their own help file: the output and the project.
    void exclude(const std::string& fullPath, const std::string& why);

    // A file of [FILES], as written there.
    void add(const std::string& asWritten);
    // A file a page links to; true when it was added.
    bool addLinked(const LocatedFile& file);

    const std::vector<PlannedPage>& pages() const { return pages_; }
    bool holds(const std::string& name) const;
    // Files of [FILES] that the help file lacks: missing, unreadable or unnamable.
    std::size_t failed() const { return failed_; }

private:
    enum class Origin { Listed, Linked };
    bool store(const LocatedFile& file, Origin origin);
    static std::string key(const std::string& name);

    FileLocator& locator_;
    CompileListener& listener_;
    std::uint32_t nameCodePage_;
    std::vector<PlannedPage> pages_;
    // Names in listing order's sense (ASCII case folded) and the file that took them.
    std::unordered_map<std::string, std::string> taken_;
    std::vector<std::string> elsewhere_;
    std::vector<std::pair<std::string, std::string>> excluded_;
    std::size_t failed_ = 0;
};

} // namespace folvane::chm
