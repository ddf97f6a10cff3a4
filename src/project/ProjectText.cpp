#include "project/ProjectText.h"

#include "platform/RegularFile.h"
#include "util/RuntimeError.h"
#include "util/TextDecoding.h"

namespace folvane {

namespace {
// Far above the contents of a full list (32767 entries of a few hundred bytes).
constexpr qint64 kMaxProjectTextBytes = 64 * 1024 * 1024;
} // namespace

QString readProjectText(const QString& path) {
    QByteArray bytes;
    switch (readRegularFile(path, kMaxProjectTextBytes, bytes)) {
    case RegularFileRead::Ok:
        return decodeProjectText(bytes);
    case RegularFileRead::NotAFile:
        throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("找不到文件\n") + path);
    case RegularFileRead::TooBig:
        throw RuntimeError(RuntimeError::FileAccess, QStringLiteral("文件太大，不是项目文件\n") + path);
    case RegularFileRead::Failed:
        break;
    }
    throw RuntimeError(RuntimeError::FileAccess, QStringLiteral("文件读取失败\n") + path);
}

} // namespace folvane
