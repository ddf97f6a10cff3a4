#include "chm/platform/InputFile.h"

#include "chm/CompileError.h"
#include "chm/platform/Utf8Path.h"

namespace folvane::chm {

namespace {
std::string reason(const FileReader& file, FileReader::Status status) {
    switch (status) {
    case FileReader::Status::Folder:
        return "是文件夹";
    case FileReader::Status::NotRegular:
        return "不是普通文件";
    default:
        return file.systemError();
    }
}

std::string readFailure(const std::filesystem::path& path, const FileReader& file) {
    return "无法读取文件：" + utf8FromPath(path) + "：" + file.systemError();
}
} // namespace

bool InputFile::open(const std::filesystem::path& path, std::string& error) {
    path_ = path;
    const FileReader::Status status = file_.open(path);
    if (status != FileReader::Status::Ok)
        error = reason(file_, status);
    return status == FileReader::Status::Ok;
}

std::size_t InputFile::read(std::span<std::uint8_t> buffer) {
    if (const std::optional<std::size_t> n = file_.read(buffer))
        return *n;
    throw CompileError(readFailure(path_, file_));
}

std::string InputFile::readAll(const std::filesystem::path& path, std::uint64_t maxBytes) {
    FileReader file;
    std::string bytes;
    switch (const FileReader::Status status = file.readAll(path, maxBytes, bytes)) {
    case FileReader::Status::Ok:
        return bytes;
    case FileReader::Status::TooBig:
        throw CompileError("文件太大：" + utf8FromPath(path));
    case FileReader::Status::ReadFailed:
        throw CompileError(readFailure(path, file));
    default:
        throw CompileError("无法打开文件：" + utf8FromPath(path) + "：" + reason(file, status));
    }
}

} // namespace folvane::chm
