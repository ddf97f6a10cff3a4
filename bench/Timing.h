#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <limits>

namespace folvane {

// The best of three timed runs, in milliseconds; setup runs untimed before each one.
template <typename Setup, typename Run> double bestOfThreeMs(Setup setup, Run run) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < 3; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

// One figure with a plain time target: "what: N entries, T ms (target < X ms)".
inline void reportFigure(QTextStream& out, const char* what, int entries, double ms, int targetMs, bool ok) {
    out << what << ": " << entries << " entries, " << QString::number(ms, 'f', 2) << " ms (target < " << targetMs
        << " ms)";
    if (!ok)
        out << " FAILED: wrong result";
    else if (ms >= targetMs)
        out << " OVER TARGET";
    out << '\n';
}

} // namespace folvane
