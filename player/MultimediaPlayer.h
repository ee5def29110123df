#pragma once
// The preview player over Qt Multimedia: a QMediaPlayer with a QAudioOutput, drawing into a
// QVideoWidget whose video sink also hands us the picture for snapshots.

#include "PreviewPlayer.h"

#include <QObject>
#include <QPointer>
#include <QVideoFrame>

#include <memory>

class QAudioOutput;
class QEventLoop;
class QMediaPlayer;
class QVideoWidget;

class TMultimediaPlayer final : public QObject, public TPreviewPlayer
{
public:
    // The video widget is made as a child of videoParent; the caller places it.
    explicit TMultimediaPlayer(QWidget* videoParent = nullptr, QObject* parent = nullptr);
    ~TMultimediaPlayer() override;

    QVideoWidget* VideoWidget() const { return videoWidget_; }
    // The linear gain the audio output plays at.
    float AudioGain() const;

    void Activate() override;
    void Deactivate() override;
    bool Active() const override { return player_ != nullptr; }
    void Clear() override;
    bool RenderFile(const QString& path) override;

    void Play() override;
    void Pause() override;
    void Stop() override;

    qint64 Duration() const override;
    qint64 Position() const override;
    void Seek(qint64 positionMs) override;

    void SetVolume(int level) override;
    int Volume() const override { return level_; }

    bool Snapshot(QImage& picture) override;

    // How long RenderFile waits for a verdict. A local file loads in well under a second, but
    // the back end sometimes drops the error of a broken file and would wait for ever.
    static constexpr int kLoadTimeoutMs = 5000;

private:
    void MakeGraph();
    void ReleaseGraph();
    static bool Loaded(const QMediaPlayer& media);
    bool Load(const QString& path);
    void KeepFrame(const QVideoFrame& frame);

    QPointer<QVideoWidget> videoWidget_;
    std::unique_ptr<QAudioOutput> audio_;
    std::unique_ptr<QMediaPlayer> player_;  // the graph; none while inactive
    QVideoFrame lastFrame_;
    QEventLoop* loadWait_ = nullptr;  // while RenderFile waits for the back end
    int graphNumber_ = 0;             // counts the graphs made, to tell one from the next
    int level_;
};
