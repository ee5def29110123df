#include "util/SvgIcons.h"

#include "SvgGlyphs.h"

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
    return SvgResourceIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

}  // namespace tavrin
