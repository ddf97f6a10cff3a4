#include "chm/platform/FileSystemName.h"

#include "base/NativeName.h"

namespace folvane::chm {

std::filesystem::path fileSystemPath(std::string_view utf8, std::uint32_t codePage) {
    return std::filesystem::path(nativeSpelling(utf8, codePage));
}

} // namespace folvane::chm
