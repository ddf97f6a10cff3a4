#include "chm/compile/FileLocator.h"

#include "chm/compile/CompileListener.h"

namespace folvane::chm {

FileLocator::FileLocator(const ProjectPaths& paths, CompileListener& listener)
    : paths_(paths), listener_(listener), lookup_(paths.rules()) {}

LocatedFile FileLocator::locate(std::string_view asWritten) {
    LocatedFile file = locateFull(paths_.resolve(asWritten));
    // A Linux name may hold a "\" of its own.
    if (!file.exists && paths_.rules() == PathRules::Posix && asWritten.find('\\') != std::string_view::npos) {
        const std::string literal = paths_.resolveLiterally(asWritten);
        const FileLookup::Found found = lookup_.find(literal);
        if (found.match != FileLookup::Match::Missing) {
            file.diskPath = found.path;
            file.exists = true;
        }
    }
    return file;
}

LocatedFile FileLocator::locateFull(const std::string& fullPath) {
    LocatedFile file;
    file.fullPath = fullPath;
    file.storedName = paths_.storedName(fullPath);
    const FileLookup::Found found = lookup_.find(fullPath);
    file.diskPath = found.path;
    file.exists = found.match != FileLookup::Match::Missing;
    if (found.match == FileLookup::Match::Ambiguous && warned_.insert(fullPath).second)
        listener_.warning("有几个文件的名称只在大小写上与 " + fullPath + " 不同，用了其中的 " + found.path);
    return file;
}

} // namespace folvane::chm
