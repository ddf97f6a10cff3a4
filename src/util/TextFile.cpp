#include "util/TextFile.h"

#include "host/Host.h"
#include "platform/RegularFile.h"
#include "util/RuntimeError.h"
#include "util/TextDecoding.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <initializer_list>

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

QByteArray encodeForDisk(const QString& text, const QString& path) {
    QStringEncoder encoder(QStringConverter::System, kConverterFlags);
    QByteArray bytes = encoder(text);
    // Lone surrogates have no encoding at all; on Linux, where the system encoding is UTF-8,
    // they are all it lacks, and a scan for them is far cheaper than decoding the text again.
    if (encoder.hasError() || hasLoneSurrogate(text))
        throw RuntimeError(RuntimeError::InvalidArgument,
                           QStringLiteral("文本中有系统代码页无法表示的字符，文件未写入\n") + path);
#ifdef Q_OS_WIN
    // An ANSI code page silently writes a substitute for what it lacks. The help compiler and
    // the project reader take valid UTF-8 before the ANSI code page, so text the code page
    // cannot hold (Chinese names on a Western Windows) is written in UTF-8 instead.
    if (decodeFromDisk(bytes) != text)
        return text.toUtf8();
#endif
    return bytes;
}

// Qt words its file errors with qt_error_string(code): matching them tells the cause.
bool reasonIsOneOf(const QString& reason, std::initializer_list<int> codes) {
    for (int code : codes)
        if (reason == qt_error_string(code))
            return true;
    return false;
}

#ifdef Q_OS_WIN
// ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME
constexpr std::initializer_list<int> kNotFoundCodes = {2, 3, 123};
// ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT, ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION
constexpr std::initializer_list<int> kDeniedCodes = {5, 19, 32, 33};
// ERROR_HANDLE_DISK_FULL, ERROR_DISK_FULL
constexpr std::initializer_list<int> kDiskFullCodes = {39, 112};
#else
constexpr std::initializer_list<int> kNotFoundCodes = {ENOENT, ENOTDIR};
constexpr std::initializer_list<int> kDeniedCodes = {EACCES, EPERM, EROFS, ETXTBSY};
constexpr std::initializer_list<int> kDiskFullCodes = {ENOSPC, EDQUOT};
#endif

RuntimeError writeFailure(const QString& path, const QString& reason) {
    const QFileInfo target(path);
    const auto fail = [&path](int code, const QString& what) { return RuntimeError(code, what + u'\n' + path); };
    if (path.isEmpty() || !QFileInfo(target.absolutePath()).isDir() || reasonIsOneOf(reason, kNotFoundCodes))
        return fail(RuntimeError::PathNotFound, QStringLiteral("找不到路径"));
    if (reasonIsOneOf(reason, kDeniedCodes) || (target.exists() && !target.isDir() && !target.isWritable()))
        return fail(RuntimeError::PermissionDenied, QStringLiteral("权限被拒绝"));
    if (reasonIsOneOf(reason, kDiskFullCodes))
        return fail(RuntimeError::DiskFull, QStringLiteral("磁盘已满"));
    return fail(RuntimeError::FileAccess, QStringLiteral("文件写入失败"));
}

void writeInPlace(const QString& path, const QByteArray& bytes, QIODevice::OpenMode mode) {
    QFile file(path);
    if (!file.open(mode) || file.write(bytes) != bytes.size() || !file.flush())
        throw writeFailure(path, file.errorString());
    file.close();
}

void replaceFile(const QString& path, const QByteArray& bytes) {
    // A read-only file stays as it is, although its folder would let us rename over it.
    const QFileInfo target(path);
    if (target.isFile() && !target.isWritable())
        throw writeFailure(path, QString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw writeFailure(path, file.errorString());
}

} // namespace

QString ReadTextFile(const QString& path, Host& host) {
    QByteArray bytes;
    switch (readRegularFile(path, kMaxReadBytes, bytes)) {
    case RegularFileRead::Ok:
        return bytes.isEmpty() ? QString() : decodePageText(bytes);
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

void WriteTextFile(const QString& path, const QString& text, bool append) {
    const QByteArray bytes = encodeForDisk(text, path);
    const QFileInfo target(path);
    // A device or a pipe can neither be renamed over nor appended to by seeking.
    if (target.exists() && !target.isFile() && !target.isDir())
        writeInPlace(path, bytes, QIODevice::WriteOnly);
    else if (append)
        writeInPlace(path, bytes, QIODevice::WriteOnly | QIODevice::Append);
    else
        replaceFile(path, bytes);
}

} // namespace folvane
