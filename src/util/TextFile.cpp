#include "util/TextFile.h"

#include "host/Host.h"
#include "platform/FileWrite.h"
#include "platform/RegularFile.h"
#include "util/RuntimeError.h"
#include "util/TextDecoding.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace folvane {

namespace {

// A byte-order mark is not recognised: its bytes stay text like any others.
constexpr auto kConverterFlags = QStringConverter::Flag::ConvertInitialBom;

[[maybe_unused]] QString decodeFromDisk(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::System, kConverterFlags);
    return decoder(bytes);
}

bool hasLoneSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

QString unencodable() {
    return QStringLiteral("文本中有系统代码页无法表示的字符，文件未写入");
}

QByteArray encodeForDisk(const QString& text, const QString& path) {
    QStringEncoder encoder(QStringConverter::System, kConverterFlags);
    QByteArray bytes = encoder(text);
    // Lone surrogates have no encoding at all; on Linux, where the system encoding is UTF-8,
    // they are all it lacks, and a scan for them is far cheaper than decoding the text again.
    if (encoder.hasError() || hasLoneSurrogate(text))
        throw RuntimeError(RuntimeError::InvalidArgument, unencodable() + u'\n' + path);
#ifdef Q_OS_WIN
    // An ANSI code page silently writes a substitute for what it lacks. The help compiler and
    // the project reader take valid UTF-8 before the ANSI code page, so text the code page
    // cannot hold (Chinese names on a Western Windows) is written in UTF-8 instead.
    if (decodeFromDisk(bytes) != text)
        return text.toUtf8();
#endif
    return bytes;
}

RuntimeError writeFailure(const QString& path, const FileWriteResult& result) {
    const QFileInfo target(path);
    const auto fail = [&path](int code, const QString& what) { return RuntimeError(code, what + u'\n' + path); };
    if (result.error == FileWriteError::PathNotFound || !QFileInfo(target.absolutePath()).isDir())
        return fail(RuntimeError::PathNotFound, QStringLiteral("找不到路径"));
    if (result.error == FileWriteError::PermissionDenied)
        return fail(RuntimeError::PermissionDenied, QStringLiteral("权限被拒绝"));
    if (result.error == FileWriteError::DiskFull)
        return fail(RuntimeError::DiskFull, QStringLiteral("磁盘已满"));
    return fail(RuntimeError::FileAccess, QStringLiteral("文件写入失败：") + result.reason);
}

// Both readers read and decode here, so a page gives the same text to each.
RegularFileRead readDecoded(const QString& path, qint64 maxBytes, QString& text) {
    QByteArray bytes;
    const RegularFileRead result = readRegularFile(path, maxBytes, bytes);
    if (result == RegularFileRead::Ok && !bytes.isEmpty())
        text = decodePageText(bytes);
    return result;
}

} // namespace

QString ReadTextFile(const QString& path, Host& host) {
    QString text;
    switch (readDecoded(path, kMaxReadBytes, text)) {
    case RegularFileRead::Ok:
        return text;
    case RegularFileRead::NotAFile:
    case RegularFileRead::TooBig:
        host.messageBox(QStringLiteral("文件太大或不存在！\r\n") + path, MsgButtons::OkOnly, MsgIcon::Critical, 0, {},
                        MsgMeaning::ItemSkipped);
        return {};
    case RegularFileRead::Failed:
        break;
    }
    return {};
}

std::optional<QString> ReadTextFileQuietly(const QString& path, qint64 maxBytes) {
    QString text;
    if (readDecoded(path, maxBytes, text) != RegularFileRead::Ok)
        return std::nullopt;
    return text;
}

std::string utf8ForFile(const QString& text) {
    if (hasLoneSurrogate(text))
        throw RuntimeError(RuntimeError::InvalidArgument, unencodable());
    return text.toStdString();
}

void WriteTextFile(const QString& path, const QString& text, bool append) {
    const QByteArray bytes = encodeForDisk(text, path);
    const QFileInfo target(path);
    FileWriteMode mode = FileWriteMode::Replace;
    // A device or a pipe can neither be renamed over nor appended to by seeking.
    if (target.exists() && !target.isFile() && !target.isDir())
        mode = FileWriteMode::InPlace;
    else if (append)
        mode = FileWriteMode::Append;
    // A read-only file stays as it is, although its folder would let us rename over it.
    else if (target.isFile() && !target.isWritable())
        throw writeFailure(path, {FileWriteError::PermissionDenied, {}});
    const FileWriteResult written = writeWholeFile(path, bytes, mode);
    if (!written.ok())
        throw writeFailure(path, written);
}

} // namespace folvane
