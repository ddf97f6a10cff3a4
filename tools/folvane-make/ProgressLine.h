#pragma once

#include <QElapsedTimer>
#include <QString>

class QIODevice;

namespace folvane {

// One line of counts on a terminal, rewritten in place and at most a few times a second.
// Disabled, it prints nothing.
class ProgressLine {
public:
    ProgressLine(QIODevice& out, bool enabled);

    // True when a new text would be shown now: callers build the text only then.
    bool isDue() const;
    void show(const QString& text);
    // Removes the line, so that the next output starts on a clean line.
    void clear();

private:
    static constexpr qint64 kIntervalMs = 100;

    QIODevice& out_;
    bool enabled_;
    QElapsedTimer sinceShown_;
    qsizetype width_ = 0;
};

} // namespace folvane
