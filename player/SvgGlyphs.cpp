#include "SvgGlyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon SvgResourceIcon(const QString& path)
{
    QSvgRenderer renderer(path);
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

QIcon SpeakerGlyph(const QString& name)
{
    return SvgResourceIcon(QStringLiteral(":/player/%1.svg").arg(name));
}
