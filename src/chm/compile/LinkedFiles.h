#pragma once

#include "chm/compile/PageReferences.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace folvane::chm {

class CompileListener;
class FileLocator;
class PageList;
struct PlannedPage;
class WorkPipeline;

// Stores the files that the stored pages and style sheets use but the project does not
// list, as the Windows compiler does: pictures, style sheets, the pages they link to. Pages
// are read for their references on a pipeline's threads; a reference is resolved against its page
// and followed when it reaches a file inside the project folder. Files found this way are
// read in turn. References to files that do not exist are reported, the first few by name.
class LinkedFiles {
public:
    LinkedFiles(PageList& pages, FileLocator& locator, CompileListener& listener, WorkPipeline& work,
                std::uint32_t fallbackCodePage);

    // A link from the root of the help file (a contents entry, the home page): its file is
    // stored when it exists; a missing one is left to the caller to report.
    void addFromRoot(const std::string& link);
    // Reads every stored page not read yet, and what it brings, until nothing new comes.
    void run();
    // How many files came in this way.
    std::size_t added() const { return added_; }

private:
    void follow(const std::string& fromFolder, const PageReference& reference, const std::string& referrer);
    // Stores the file a target names, if it is to be stored; false when it names no file.
    bool reach(const std::string& fromFolder, const std::string& target);
    std::vector<std::vector<PageReference>> scan(std::size_t first, std::size_t last) const;
    void reportMissing(const std::string& referrer, const std::string& target);

    PageList& pages_;
    FileLocator& locator_;
    CompileListener& listener_;
    WorkPipeline& work_;
    std::uint32_t fallbackCodePage_;
    std::size_t scanned_ = 0;
    std::size_t added_ = 0;
    std::size_t missingCount_ = 0;
    // Folder and target of every reference followed, and whether it named no file.
    std::unordered_map<std::string, bool> missing_;
};

} // namespace folvane::chm
