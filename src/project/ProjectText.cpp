#include "project/ProjectText.h"

#include "platform/AnsiCodePage.h"
#include "platform/RegularFile.h"
#include "util/RuntimeError.h"

#include <QStringDecoder>

#include <optional>

namespace folvane {

namespace {
// Far above the contents of a full list (32767 entries of a few hundred bytes).
constexpr qint64 kMaxProjectTextBytes = 64 * 1024 * 1024;
} // namespace

QString decodeProjectText(const QByteArray& bytes) {
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    // A byte-order mark says which encoding was meant, even where the bytes then go wrong.
    if (marked) {
        QStringDecoder decoder(*marked, QStringConverter::Flag::Stateless);
        return decoder(bytes);
    }
    // Stateless, so that a sequence cut off at the end counts as invalid too.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? decodeAnsiCodePage(bytes) : text;
}

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
