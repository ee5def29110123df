#pragma once
// The speaker glyphs of the volume button, by resource name: "spkmute", "spkhalf", "spkfull".

#include <QIcon>
#include <QString>

QIcon SpeakerGlyph(const QString& name);
