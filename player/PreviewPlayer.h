#pragma once
// The preview player as the main window sees it: a media graph that is activated, loaded with
// one file and driven. The window talks only to this interface, so tests can hand it a fake.

#include <QImage>
#include <QString>
#include <QtGlobal>

class TPreviewPlayer
{
public:
    virtual ~TPreviewPlayer() = default;

    // An active graph is bound to the video window and the picture grabber and can take a file.
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    virtual bool Active() const = 0;
    // Stops and unloads the file, leaving an active graph ready for another one.
    virtual void Clear() = 0;
    // Loads a file into the active graph; false when the graph cannot play it.
    virtual bool RenderFile(const QString& path) = 0;

    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;

    virtual qint64 Duration() const = 0;  // milliseconds, 0 when nothing is loaded
    virtual qint64 Position() const = 0;  // milliseconds
    virtual void Seek(qint64 positionMs) = 0;

    // Linear level 0..10000 (clamped); it stays in force across files.
    virtual void SetVolume(int level) = 0;
    virtual int Volume() const = 0;

    // The picture on screen as 24-bit RGB; false when no picture has been shown yet.
    virtual bool Snapshot(QImage& picture) = 0;
};
