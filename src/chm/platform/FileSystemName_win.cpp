#include "chm/platform/FileSystemName.h"

#include "chm/platform/Utf8Path.h"

namespace folvane::chm {

// Names on Windows are Unicode: the UTF-8 path is the file's.
std::filesystem::path fileSystemPath(std::string_view utf8, std::uint32_t) {
    return pathFromUtf8(utf8);
}

} // namespace folvane::chm
