#pragma once
// The click played after a snapshot has been saved.

#include <QObject>

#include <memory>

class QSoundEffect;

class TSnapSound : public QObject
{
public:
    explicit TSnapSound(QObject* parent = nullptr);
    ~TSnapSound() override;
    void Play();

private:
    std::unique_ptr<QSoundEffect> effect_;
};

// Where the "Snap" sound lives in the resources.
extern const char* const kSnapSoundUrl;
