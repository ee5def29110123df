#include "SvgIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resource file lives in a static library: register it before the first use.
static void RegisterIconResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    (void)registered;
}

namespace tavrin {

QIcon SvgIcon(const char* name)
{
    RegisterIconResources();
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
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

}  // namespace tavrin
