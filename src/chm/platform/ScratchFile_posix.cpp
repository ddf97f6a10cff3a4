#include "chm/platform/ScratchFile.h"

#include "base/SystemError.h"
#include "chm/CompileError.h"
#include "chm/platform/Utf8Path.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace folvane::chm {

ScratchFile::ScratchFile(const std::filesystem::path& folder) : folder_(folder.empty() ? "." : folder) {
#ifdef O_TMPFILE
    handle_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
#endif
    // Without unnamed files: a name of ours, gone again at once.
    for (int attempt = 0; handle_ < 0 && attempt < 100; ++attempt) {
        const std::filesystem::path named =
            folder_ / (".folvane-scratch-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp");
        handle_ = ::open(named.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (handle_ >= 0)
            ::unlink(named.c_str());
        else if (errno != EEXIST)
            break;
    }
    if (handle_ < 0)
        fail("无法创建临时文件");
}

ScratchFile::~ScratchFile() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

void ScratchFile::fail(const char* what) const {
    const std::string reason = errno == EFBIG ? "超过了系统允许的文件大小（ulimit -f）" : lastSystemError();
    throw CompileError(std::string(what) + "（在 " + utf8FromPath(folder_) + "）：" + reason);
}

} // namespace folvane::chm
