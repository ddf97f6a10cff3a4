#include "chm/platform/AbsolutePath.h"

namespace folvane::chm {

std::filesystem::path absolutePath(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full;
}

} // namespace folvane::chm
