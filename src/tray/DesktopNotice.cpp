// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopNotice.h"

#include "app/Version.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

void DesktopNotice::show(const QString &title, const QString &text, Failure failure)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        failure(bus.lastError().message());
        return;
    }
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                                      service, QStringLiteral("Notify"));
    // The desktop entry names the program and gives its icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(version::AppId)}};
    call << QStringLiteral("Dialmeter") << lastId_ << QStringLiteral("dialmeter") << title << text << QStringList()
         << hints << ShownMilliseconds;
    auto *reply = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this,
            [this, failure = std::move(failure)](QDBusPendingCallWatcher *finished) {
                const QDBusPendingReply<uint> answer = *finished;
                if (answer.isError())
                    failure(answer.error().message());
                else
                    lastId_ = answer.value();
                finished->deleteLater();
            });
}
