#pragma once

#include "folvane-make/MakeOptions.h"

#include <QDateTime>
#include <QString>

#include <optional>

class QIODevice;

namespace folvane {

class BatchHost;
class FmCHM;

namespace ExitStatus {
inline constexpr int Done = 0;
inline constexpr int Failed = 1;
inline constexpr int Usage = 2;
} // namespace ExitStatus

// One run of folvane-make: the user's road through the same forms, with a batch host.
// Start-up adds FOLDER; the navigation builder runs with the chosen title options; the
// compile settings are opened (which proposes FOLDER/HH_KVEL.chm), then the title, the
// output file, the home page and the navigation-pane option are set in that order; the
// project is saved and compiled. With --open, start-up opens FOLDER's project instead of
// listing it, the navigation builder does not run, and only the settings given change.
// A failure before the save leaves nothing written.
class MakeRun {
public:
    struct Console {
        QIODevice& out;     // results
        QIODevice& err;     // messages, compiler output, progress
        bool errIsTerminal; // the progress line is shown on a terminal only
    };

    MakeRun(MakeOptions options, Console console);

    // A fixed clock for the window name, so that runs can be compared byte for byte.
    void setClock(const QDateTime& clock) { clock_ = clock; }

    // Returns the exit status.
    int exec();

    // FOLDER as the folder browser would give it: absolute, native, no trailing separator.
    static QString absoluteFolder(const QString& folder);

private:
    int road(BatchHost& host);
    void buildNavigation(FmCHM& form) const;
    void fillSettings(FmCHM& form) const;
    std::optional<QString> outputRefusal(FmCHM& form) const;
    int compile(FmCHM& form, BatchHost& host);
    int failed(const QString& message);
    void report(const QString& line);

    MakeOptions options_;
    Console console_;
    std::optional<QDateTime> clock_;
};

} // namespace folvane
