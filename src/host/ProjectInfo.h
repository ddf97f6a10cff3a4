#pragma once

#include <QString>

namespace folvane {

// The program's fixed public values, in one place. Neutral project data only.
struct ProjectInfo {
    // Jump button target in the project file and generator address in the contents file.
    static QString homeAddress() { return QStringLiteral("https://folvane.example.org/"); }
    // What the version information's file description holds; "\n" marks a line break.
    static QString description() {
        return QStringLiteral(
            "快速制作CHM文件的绿色小程序。选择文件夹=>生成导航目录=>设置首页=>编译CHM。CHM制作就是这么容易!");
    }
    static QString author() { return QStringLiteral("Folvane 开发组"); }
    static QString email() { return QStringLiteral("dev@folvane.example.org"); }
    // Opened by a click on the postal address.
    static QString contactAddress() { return QStringLiteral("https://folvane.example.org/contact"); }
    static QString postalAddress() { return QStringLiteral("示例市示例路 1 号"); }
    static QString messenger() { return QStringLiteral("即时通讯：000000"); }
    static QString rights() { return QStringLiteral("Copyright © Folvane 开发组，保留所有权利。"); }
};

} // namespace folvane
