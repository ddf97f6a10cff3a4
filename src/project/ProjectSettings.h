#pragma once

#include <QString>

namespace folvane {

// What the compile settings hand to the project file writer.
struct ProjectSettings {
    QString outputFile;           // chmFN
    QString title;                // chmTt
    QString homePage;             // Co1's text
    bool navigationClosed = true; // Ch1
};

} // namespace folvane
