#pragma once

#include <QString>

namespace folvane {

class HelpProject;

// Proof that a compiler's output is a help file readers open, so that a broken file cannot
// pass for a fast one: the container's headers, and with chmlib at hand every listed file
// read back and compared with its source.
struct HelpFileCheck {
    // Empty when the file passes; otherwise what is wrong.
    static QString problem(const QString& helpFile, const HelpProject& project);
};

} // namespace folvane
