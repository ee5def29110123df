#include "dialogs/Notifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QSystemTrayIcon>
#include <QVariantMap>
#include <QWidget>

namespace tavrin {

namespace {

constexpr int kBusTimeoutMs = 2000;
constexpr int kShownMs = 8000;

}  // namespace

TDesktopNotifier::TDesktopNotifier(QWidget* window) : window_(window) {}

TDesktopNotifier::~TDesktopNotifier() = default;

void TDesktopNotifier::Notify(const QString& title, const QString& text)
{
    if (!NotifyOverBus(title, text))
        NotifyInTray(title, text);
}

// org.freedesktop.Notifications.Notify(app_name, replaces_id, app_icon, summary, body,
// actions, hints, expire_timeout), called without introspection so that a missing service
// costs one failed call, not a hang.
bool TDesktopNotifier::NotifyOverBus(const QString& title, const QString& text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("tavrin-converter"));
    call << QStringLiteral("Tavrin Apple TV Converter") << 0u << QStringLiteral("tavrin-converter")
         << title << text << QStringList() << hints << kShownMs;
    const QDBusReply<uint> reply = bus.call(call, QDBus::Block, kBusTimeoutMs);
    return reply.isValid();
}

bool TDesktopNotifier::NotifyInTray(const QString& title, const QString& text)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    if (!tray_) {
        tray_ = std::make_unique<QSystemTrayIcon>(window_->windowIcon());
        tray_->setToolTip(QStringLiteral("Tavrin Apple TV Converter"));
    }
    tray_->show();
    tray_->showMessage(title, text, QSystemTrayIcon::Information, kShownMs);
    return true;
}

}  // namespace tavrin
