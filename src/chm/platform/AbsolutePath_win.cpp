#include "chm/platform/AbsolutePath.h"

#include "base/LongPath_win.h"

namespace folvane::chm {

std::filesystem::path absolutePath(const std::filesystem::path& path) {
    return fullPath(path.native());
}

} // namespace folvane::chm
