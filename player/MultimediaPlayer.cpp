#include "MultimediaPlayer.h"

#include "Loudness.h"

#include <QAudioOutput>
#include <QEventLoop>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoSink>
#include <QVideoWidget>

#include <algorithm>

TMultimediaPlayer::TMultimediaPlayer(QWidget* videoParent, QObject* parent)
    : QObject(parent),
      videoWidget_(new QVideoWidget(videoParent)),
      audio_(std::make_unique<QAudioOutput>()),
      level_(kMaxVolumeLevel)
{
    videoWidget_->setObjectName(QStringLiteral("VideoWindow1"));
    audio_->setVolume(VolumeGain(level_));
    // The sink may report from a streaming thread; the context object queues it to ours.
    connect(videoWidget_->videoSink(), &QVideoSink::videoFrameChanged, this,
            [this](const QVideoFrame& frame) { KeepFrame(frame); });
}

TMultimediaPlayer::~TMultimediaPlayer()
{
    ReleaseGraph();
    audio_.reset();
    delete videoWidget_.data();
}

void TMultimediaPlayer::KeepFrame(const QVideoFrame& frame)
{
    // Stopping sends an empty frame; the picture last shown stays the one to grab.
    if (player_ && frame.isValid())
        lastFrame_ = frame;
}

// A media player whose source once failed to load stays broken, so every file gets a fresh one.
void TMultimediaPlayer::MakeGraph()
{
    player_ = std::make_unique<QMediaPlayer>();
    ++graphNumber_;
    player_->setAudioOutput(audio_.get());
    player_->setVideoOutput(videoWidget_.data());
}

void TMultimediaPlayer::ReleaseGraph()
{
    if (!player_)
        return;
    // Tearing a playing pipeline down from under its outputs is not safe: unload it first.
    Clear();
    player_->setVideoOutput(nullptr);
    player_->setAudioOutput(nullptr);
    if (loadWait_) {
        // Released from inside a load's wait: that call is still on the stack, so the player
        // goes once control is back in the event loop.
        loadWait_->quit();
        player_.release()->deleteLater();
    }
    player_.reset();
}

void TMultimediaPlayer::Activate()
{
    if (!player_)
        MakeGraph();
}

void TMultimediaPlayer::Deactivate()
{
    ReleaseGraph();
}

void TMultimediaPlayer::Clear()
{
    if (player_) {
        player_->stop();
        player_->setSource(QUrl());
    }
    lastFrame_ = QVideoFrame();
}

bool TMultimediaPlayer::Loaded(const QMediaPlayer& media)
{
    switch (media.mediaStatus()) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
    case QMediaPlayer::EndOfMedia:
        return true;
    default:
        return false;
    }
}

// The back end loads asynchronously and may already decide inside setSource, so listen first.
// The wait takes no user input: no button of the window can re-enter the player meanwhile.
// Closing the window still can, and releases the graph: the wait then ends with a failure.
bool TMultimediaPlayer::Load(const QString& path)
{
    QMediaPlayer* const media = player_.get();
    const int graph = graphNumber_;
    const auto released = [&] { return graphNumber_ != graph || !player_; };
    const auto loaded = [media] { return Loaded(*media); };
    const auto invalid = [media] {
        return media->mediaStatus() == QMediaPlayer::InvalidMedia || media->error() != QMediaPlayer::NoError;
    };
    QEventLoop loop;
    connect(media, &QMediaPlayer::mediaStatusChanged, &loop, [&] {
        if (loaded() || invalid())
            loop.quit();
    });
    connect(media, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(kLoadTimeoutMs, &loop, &QEventLoop::quit);
    loadWait_ = &loop;
    media->setSource(QUrl::fromLocalFile(path));
    if (!released() && !loaded() && !invalid())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    loadWait_ = nullptr;
    return !released() && loaded() && !invalid();
}

bool TMultimediaPlayer::RenderFile(const QString& path)
{
    if (!player_)
        return false;
    ReleaseGraph();
    MakeGraph();
    const bool loaded = Load(path);
    // Pictures of the previous file may have been queued while we waited.
    lastFrame_ = QVideoFrame();
    if (!player_)
        return false;  // released while loading
    if (!loaded) {
        ReleaseGraph();
        MakeGraph();
        return false;
    }
    audio_->setVolume(VolumeGain(level_));
    return true;
}

void TMultimediaPlayer::Play()
{
    if (player_ && !player_->source().isEmpty())
        player_->play();
}

void TMultimediaPlayer::Pause()
{
    if (player_ && !player_->source().isEmpty())
        player_->pause();
}

void TMultimediaPlayer::Stop()
{
    if (player_)
        player_->stop();
}

qint64 TMultimediaPlayer::Duration() const
{
    return player_ ? std::max<qint64>(player_->duration(), 0) : 0;
}

qint64 TMultimediaPlayer::Position() const
{
    return player_ ? std::max<qint64>(player_->position(), 0) : 0;
}

void TMultimediaPlayer::Seek(qint64 positionMs)
{
    if (player_ && !player_->source().isEmpty())
        player_->setPosition(std::max<qint64>(positionMs, 0));
}

void TMultimediaPlayer::SetVolume(int level)
{
    level_ = ClampVolumeLevel(level);
    audio_->setVolume(VolumeGain(level_));
}

float TMultimediaPlayer::AudioGain() const
{
    return audio_->volume();
}

bool TMultimediaPlayer::Snapshot(QImage& picture)
{
    if (!player_ || !lastFrame_.isValid())
        return false;
    const QImage image = lastFrame_.toImage();
    if (image.isNull())
        return false;
    picture = image.convertToFormat(QImage::Format_RGB888);
    return true;
}
