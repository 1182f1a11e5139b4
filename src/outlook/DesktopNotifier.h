// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

// Shows the meter's warnings as desktop notifications through the freedesktop
// notification service on the session bus, each one replacing the meter's
// previous one rather than stacking up. Without that service, a message on the
// tray icon; without a tray either, the user is told in the meter's usual way
// (one line on standard error when there is no display).
class DesktopNotifier final : public QObject {
    Q_OBJECT
public:
    // Shows a message on the tray icon; false when there is no tray to show it on.
    using Balloon = std::function<bool(const QString &title, const QString &text)>;
    using Tell = std::function<void(const QString &message)>;

    DesktopNotifier(Balloon balloon, Tell tell);

    void notify(const QString &title, const QString &text);

    static inline const QString Service = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString ApplicationName = QStringLiteral("Dialmeter");
    // The name of the installed icon.
    static inline const QString IconName = QStringLiteral("dialmeter");

private:
    void withoutService(const QString &title, const QString &text);

    Balloon balloon_;
    Tell tell_;
    // The service's number for the meter's notification on screen; 0 for none.
    uint shown_ = 0;
};
