#include "forms/ProB.h"

namespace folvane {

namespace {
constexpr int kStatusMax = 49;
constexpr int kStatusHead = 23;
constexpr int kStatusTail = 27;

QString percentText(int percent) {
    return QString::number(percent) + QLatin1Char('%');
}
} // namespace

ProB::ProB(QObject* parent) : QObject(parent) {
    timer_.setInterval(kTimerInterval);
    connect(&timer_, &QTimer::timeout, this, &ProB::Timer1_Timer);
}

void ProB::setPercent(int percent) {
    barCaption_ = percentText(percent);
    barWidth_ = percent * kTwipsPerPercent;
    emit changed();
}

void ProB::setStatusText(const QString& text) {
    statusText_ = shortenStatusText(text);
    emit changed();
}

QString ProB::shortenStatusText(const QString& text) {
    if (text.size() <= kStatusMax)
        return text;
    return text.left(kStatusHead) + QStringLiteral("...") + text.right(kStatusTail);
}

void ProB::show() {
    if (!loaded_) {
        loaded_ = true;
        timer_.start();
    }
    visible_ = true;
    emit changed();
}

void ProB::unload() {
    timer_.stop();
    loaded_ = false;
    visible_ = false;
    emit changed();
}

void ProB::Command1_Click() {
    dontContinue_ = true;
    visible_ = false;
    emit changed();
    if (tag_ == QLatin1String("only"))
        emit endProgramRequested();
}

void ProB::Timer1_Timer() {
    if (barWidth_ >= kFullWidth)
        return;
    barWidth_ += kCreepStep;
    if (barWidth_ % kTwipsPerPercent == 0)
        barCaption_ = percentText(barWidth_ / kTwipsPerPercent);
    emit changed();
}

} // namespace folvane
