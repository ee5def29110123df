#include "SpeakerGlyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Drawn once at the usual sizes, like the window's other glyphs, so the volume button sizes
// itself as its neighbours do.
QIcon SpeakerGlyph(const QString& name)
{
    QSvgRenderer renderer(QStringLiteral(":/player/%1.svg").arg(name));
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
