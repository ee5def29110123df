// The preview's seek bar: while the player plays it follows the position once a second, in
// steps of one second; while the user holds the left button on it, it is left alone; when
// the button is released, the player seeks to the spot the bar shows.
#pragma once

#include <QObject>

#include <functional>

class QSlider;
class QTimer;
class TPreviewPlayer;

namespace tavrin {

class TPreviewSeekBar final : public QObject {
public:
    static constexpr int kUpdateIntervalMs = 1000;

    // player is asked for when needed: the window makes its player on first use.
    TPreviewSeekBar(QSlider& bar, std::function<TPreviewPlayer*()> player, QObject* parent = nullptr);

    void StartUpdates();  // with play
    void StopUpdates();   // with pause and stop
    bool Updating() const;

    // One periodic step: range 0 .. duration / 1000 and position / 1000, in seconds.
    void Update();
    // The release of the left button: seek to duration * position / maximum.
    void SeekToBar();
    bool Held() const { return held_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSlider& bar_;
    std::function<TPreviewPlayer*()> player_;
    QTimer* timer_;
    bool held_ = false;
};

// Where a release on the bar seeks to, in milliseconds; no seek (-1) on a bar without range.
qint64 SeekTargetMs(qint64 durationMs, int barPosition, int barMaximum);

}  // namespace tavrin
