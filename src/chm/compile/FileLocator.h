#pragma once

#include "chm/compile/FileLookup.h"
#include "chm/compile/ProjectPaths.h"

#include <set>
#include <string>
#include <string_view>

namespace folvane::chm {

class CompileListener;

// A file a project names, as the help file will know it and as the disk holds it.
struct LocatedFile {
    std::string fullPath;   // as written, made absolute: for messages
    std::string diskPath;   // where it is (letter case may differ); fullPath when nothing is there
    std::string storedName; // "/sub/a.htm": the name as written, below the project folder
    bool exists = false;    // a file or folder is there
};

// Resolves the paths a project names (its options, [FILES], the Local values of its contents
// and index, links in its pages) the way Windows projects mean them: "\" and "/" both
// separate folders, and on a file system that tells case apart a name written in other
// letter case still finds its file. Names that fit several files by case alone are warned
// about once.
class FileLocator {
public:
    FileLocator(const ProjectPaths& paths, CompileListener& listener);

    // A path relative to the project folder or absolute.
    LocatedFile locate(std::string_view asWritten);
    // A path as ProjectPaths::resolve gives it.
    LocatedFile locateFull(const std::string& fullPath);

    const ProjectPaths& paths() const { return paths_; }

private:
    const ProjectPaths& paths_;
    CompileListener& listener_;
    FileLookup lookup_;
    std::set<std::string> warned_;
};

} // namespace folvane::chm
