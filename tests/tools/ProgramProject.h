#pragma once

#include <QString>
#include <QStringList>

namespace folvane {

// A project file exactly as the program writes it, for the compiler's tests.
struct ProgramProject {
    QString output;
    QString home;
    QString title;
    QStringList files;
    QString window = QStringLiteral("Folvane_261206_070509");

    QString windowLine() const {
        return window + QStringLiteral("=\"") + title + QStringLiteral("\",\"HH_KVEL.hhc\",,\"") + home +
               QStringLiteral("\",\"") + home +
               QStringLiteral("\",\"https://folvane.example.org/\",\"My HomePage\",,,0x42560,198,0x4304E,"
                              "[0,0,810,583],,,,1,,,0");
    }

    QString text() const {
        QStringList lines{QStringLiteral("[OPTIONS]"),
                          QStringLiteral("CITATION=Made by kq"),
                          QStringLiteral("Compatibility=1.1 or later"),
                          QStringLiteral("Compiled file=\"") + output + u'"',
                          QStringLiteral("Contents file=HH_KVEL.hhc"),
                          QStringLiteral("Default topic=") + home,
                          QStringLiteral("Default Window=") + window,
                          QStringLiteral("Display compile notes=Yes"),
                          QStringLiteral("Display compile progress=Yes"),
                          QStringLiteral("Full-text search=Yes"),
                          QStringLiteral("Title=") + title,
                          QStringLiteral("[WINDOWS]"),
                          windowLine(),
                          QStringLiteral("[MERGE FILES]"),
                          QString(),
                          QStringLiteral("[FILES]")};
        lines += files;
        return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    }
};

} // namespace folvane
