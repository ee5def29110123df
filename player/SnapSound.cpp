#include "SnapSound.h"

#include <QSoundEffect>
#include <QUrl>

const char* const kSnapSoundUrl = "qrc:/player/Snap.wav";

TSnapSound::TSnapSound(QObject* parent)
    : QObject(parent), effect_(std::make_unique<QSoundEffect>())
{
    effect_->setSource(QUrl(QString::fromLatin1(kSnapSoundUrl)));
}

TSnapSound::~TSnapSound() = default;

// Asynchronous: the window stays responsive while the click sounds. Without an audio device
// the effect simply stays silent.
void TSnapSound::Play()
{
    effect_->play();
}
