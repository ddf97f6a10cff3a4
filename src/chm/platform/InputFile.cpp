#include "chm/platform/InputFile.h"

#include "chm/compile/CompileError.h"
#include "chm/platform/Utf8Path.h"

namespace folvane::chm {

std::string InputFile::readAll(const std::filesystem::path& path, std::uint64_t maxBytes) {
    InputFile file;
    std::string error;
    if (!file.open(path, error))
        throw CompileError("无法打开文件：" + utf8FromPath(path) + "：" + error);
    if (file.size() > maxBytes)
        throw CompileError("文件太大：" + utf8FromPath(path));
    std::string text(static_cast<std::size_t>(file.size()), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        const std::size_t n =
            file.read(std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(text.data()) + done, text.size() - done));
        if (n == 0)
            break;
        done += n;
    }
    text.resize(done);
    return text;
}

} // namespace folvane::chm
