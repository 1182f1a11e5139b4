// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Desktop notifications through the freedesktop notification service on the
// session bus: a title and a text, each replacing the one this notifier showed
// before rather than stacking up. Nothing waits for the service: the meter goes
// on counting while it answers.
class DesktopNotifier final : public QObject {
    Q_OBJECT
public:
    // Told why the desktop could not show a notification: it has no
    // notification service, or no session bus at all.
    using Failure = std::function<void(const QString &why)>;

    // Shown that long, or as long as the desktop chooses (-1).
    explicit DesktopNotifier(int shownMilliseconds = -1, QObject *parent = nullptr);

    void show(const QString &title, const QString &text, Failure failure);

    static inline const QString Service = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString ApplicationName = QStringLiteral("Dialmeter");
    // The name of the installed icon.
    static inline const QString IconName = QStringLiteral("dialmeter");

private:
    int shownMilliseconds_;
    // The service's number for this notifier's notification on screen; 0 for none.
    uint shown_ = 0;
};
