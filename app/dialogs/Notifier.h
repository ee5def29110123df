// Desktop notifications: a short message the desktop shows even when the window is hidden
// behind others. Tests put in a notifier that records instead.
#pragma once

#include <QString>

#include <memory>

class QSystemTrayIcon;
class QWidget;

namespace tavrin {

class TNotifier {
public:
    virtual ~TNotifier() = default;
    virtual void Notify(const QString& title, const QString& text) = 0;
};

// The freedesktop notification service on the session bus; without one, the system tray's
// message balloon; without a tray, nothing.
class TDesktopNotifier final : public TNotifier {
public:
    explicit TDesktopNotifier(QWidget* window);
    ~TDesktopNotifier() override;

    void Notify(const QString& title, const QString& text) override;

private:
    bool NotifyOverBus(const QString& title, const QString& text);
    bool NotifyInTray(const QString& title, const QString& text);

    QWidget* window_;
    std::unique_ptr<QSystemTrayIcon> tray_;
};

}  // namespace tavrin
