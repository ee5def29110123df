#include "SpeakerGlyphs.h"

QIcon SpeakerGlyph(const QString& name)
{
    return QIcon(QStringLiteral(":/player/%1.svg").arg(name));
}
