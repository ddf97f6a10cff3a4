#pragma once

#include "chm/compile/ProjectPaths.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace folvane::chm {

// Finds the file a full path names the way the Windows file system finds it: as written,
// or else ignoring letter case, one folder step at a time. Each folder is listed once.
class FileLookup {
public:
    enum class Match {
        Exact,
        IgnoringCase,
        // Several names differ from a step only by case, none exactly: the first one taken.
        Ambiguous,
        Missing,
    };
    struct Found {
        std::string path; // UTF-8, "/" separated: on disk, or the path asked for when missing
        Match match = Match::Missing;
    };

    explicit FileLookup(PathRules rules = nativePathRules());

    // fullPath: absolute and tidied, as ProjectPaths gives it.
    Found find(const std::string& fullPath);

    // The letters of a name folded as the file system compares them.
    static std::string folded(std::string_view utf8);

private:
    struct Listing {
        bool read = false;
        std::unordered_set<std::string> names;
        // Folded name -> the names that fold to it, in byte order.
        std::unordered_map<std::string, std::vector<std::string>> byFolded;
    };
    const Listing& listing(const std::string& folder);

    PathRules rules_;
    std::unordered_map<std::string, Listing> listings_;
};

} // namespace folvane::chm
