#include "folvane-make/ProgressLine.h"

#include <QIODevice>

namespace folvane {

ProgressLine::ProgressLine(QIODevice& out, bool enabled) : out_(out), enabled_(enabled) {}

bool ProgressLine::isDue() const {
    return enabled_ && (!sinceShown_.isValid() || sinceShown_.elapsed() >= kIntervalMs);
}

void ProgressLine::show(const QString& text) {
    if (!enabled_)
        return;
    // Spaces rub out what a longer previous text left; no terminal escapes needed.
    const QString padded = text.leftJustified(width_);
    out_.write((u'\r' + padded).toLocal8Bit());
    width_ = text.size();
    sinceShown_.start();
}

void ProgressLine::clear() {
    if (!enabled_ || width_ == 0)
        return;
    out_.write((u'\r' + QString(width_, u' ') + u'\r').toLocal8Bit());
    width_ = 0;
    sinceShown_.invalidate();
}

} // namespace folvane
