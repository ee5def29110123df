#include "SnapSound.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSoundEffect>
#include <QUrl>

const char* const kSnapSoundUrl = "qrc:/player/Snap.wav";

TSnapSound::TSnapSound(QObject* parent)
    : QObject(parent), effect_(std::make_unique<QSoundEffect>())
{
    effect_->setSource(QUrl(QString::fromLatin1(kSnapSoundUrl)));
}

// Qt's sample cache deadlocks when the program ends while a sample is still loading (its
// loader waits for the lock its destructor holds), so a window closed right after its first
// snapshot would never end. The click is let go only once it has loaded: milliseconds.
TSnapSound::~TSnapSound()
{
    constexpr int kMostMs = 3000;
    QElapsedTimer waited;
    waited.start();
    while (effect_->status() == QSoundEffect::Loading && waited.elapsed() < kMostMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
}

// Asynchronous: the window stays responsive while the click sounds. Without an audio device
// the effect simply stays silent.
void TSnapSound::Play()
{
    effect_->play();
}
