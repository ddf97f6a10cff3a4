#pragma once

#include <QChar>
#include <QtGlobal>

namespace folvane {

// Which path rules apply: Windows knows drives and two separators ("\" and "/"),
// Posix one root and only "/". The path helpers take it as a parameter so that
// Windows-style paths can be exercised on any system.
enum class PathStyle { Windows, Posix };

constexpr PathStyle nativePathStyle() {
#ifdef Q_OS_WIN
    return PathStyle::Windows;
#else
    return PathStyle::Posix;
#endif
}

// How the file system compares names: ignoring case on Windows, exactly elsewhere.
constexpr Qt::CaseSensitivity fileSystemCase(PathStyle style) {
    return style == PathStyle::Windows ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

// The separator used when composing paths.
constexpr QChar pathSeparator(PathStyle style) {
    return style == PathStyle::Windows ? QLatin1Char('\\') : QLatin1Char('/');
}

} // namespace folvane
