#pragma once

#include <QString>

namespace folvane {

// The program's fixed public values, in one place. Neutral project data only.
struct ProjectInfo {
    // Jump button target in the project file and generator address in the contents file.
    static QString homeAddress() { return QStringLiteral("https://folvane.example.org/"); }
};

} // namespace folvane
