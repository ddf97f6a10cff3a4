#include "chm/platform/FileKind.h"

#include <sys/stat.h>

namespace folvane::chm {

FileKind fileKind(const std::filesystem::path& path) {
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0)
        return FileKind::Missing;
    if (S_ISREG(info.st_mode))
        return FileKind::File;
    return S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Other;
}

bool isReadOnly(const std::filesystem::path& path) {
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
}

} // namespace folvane::chm
