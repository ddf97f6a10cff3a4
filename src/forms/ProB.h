#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace folvane {

// The progress window: a percentage bar, one status line and a cancel button. Geometry
// is in twips. The form keeps the state; its view shows it whenever changed() fires.
class ProB : public QObject {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 5175;
    static constexpr int kClientHeight = 1170;
    static constexpr int kTwipsPerPercent = 50;
    static constexpr int kFullWidth = 100 * kTwipsPerPercent; // the width of the track
    static constexpr int kInitialBarWidth = 135;
    static constexpr int kCreepStep = 10;
    static constexpr int kTimerInterval = 2000; // ms

    explicit ProB(QObject* parent = nullptr);

    // Set by the cancel button; a new form starts with false.
    bool Dont_Continue() const { return dontContinue_; }
    // "only" makes the cancel button end the whole program.
    const QString& tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }

    int barWidth() const { return barWidth_; }
    const QString& barCaption() const { return barCaption_; }
    const QString& statusText() const { return statusText_; }
    bool isVisible() const { return visible_; }
    bool isLoaded() const { return loaded_; }
    bool timerActive() const { return timer_.isActive(); }

    // Puts the bar at a percentage of the track, with its caption.
    void setPercent(int percent);
    // Shows a long text by its start and its end so the line stays short.
    void setStatusText(const QString& text);
    static QString shortenStatusText(const QString& text);

    // Loads the window if needed (starting the creep) and makes it visible.
    void show();
    // Stops the creep and closes the window; the driver then discards the form.
    void unload();

    void Command1_Click();
    void Timer1_Timer();

signals:
    void changed();
    void endProgramRequested();

private:
    QTimer timer_;
    bool dontContinue_ = false;
    QString tag_;
    int barWidth_ = kInitialBarWidth;
    QString barCaption_;
    QString statusText_;
    bool visible_ = false;
    bool loaded_ = false;
};

} // namespace folvane
