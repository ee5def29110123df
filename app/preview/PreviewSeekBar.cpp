#include "preview/PreviewSeekBar.h"

#include "PreviewPlayer.h"

#include <QMouseEvent>
#include <QSlider>
#include <QTimer>

#include <algorithm>

namespace tavrin {

qint64 SeekTargetMs(qint64 durationMs, int barPosition, int barMaximum)
{
    // A file shorter than a second leaves the bar without range: there is nowhere to go.
    if (barMaximum <= 0 || durationMs <= 0)
        return -1;
    return durationMs * std::clamp(barPosition, 0, barMaximum) / barMaximum;
}

TPreviewSeekBar::TPreviewSeekBar(QSlider& bar, std::function<TPreviewPlayer*()> player, QObject* parent)
    : QObject(parent), bar_(bar), player_(std::move(player)), timer_(new QTimer(this))
{
    timer_->setInterval(kUpdateIntervalMs);
    connect(timer_, &QTimer::timeout, this, &TPreviewSeekBar::Update);
    bar_.installEventFilter(this);
}

void TPreviewSeekBar::StartUpdates()
{
    timer_->start();
}

void TPreviewSeekBar::StopUpdates()
{
    timer_->stop();
}

bool TPreviewSeekBar::Updating() const
{
    return timer_->isActive();
}

void TPreviewSeekBar::Update()
{
    TPreviewPlayer* player = player_();
    if (held_ || !player)
        return;
    bar_.setRange(0, static_cast<int>(player->Duration() / 1000));
    bar_.setValue(static_cast<int>(player->Position() / 1000));
}

void TPreviewSeekBar::SeekToBar()
{
    TPreviewPlayer* player = player_();
    if (!player)
        return;
    const qint64 target = SeekTargetMs(player->Duration(), bar_.value(), bar_.maximum());
    if (target >= 0)
        player->Seek(target);
}

bool TPreviewSeekBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &bar_ && (event->type() == QEvent::MouseButtonPress
                             || event->type() == QEvent::MouseButtonRelease)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            held_ = event->type() == QEvent::MouseButtonPress;
            // Seek once the bar has taken the release and shows where it stopped.
            if (!held_)
                QTimer::singleShot(0, this, &TPreviewSeekBar::SeekToBar);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tavrin
