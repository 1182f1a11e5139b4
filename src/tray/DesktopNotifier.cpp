// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopNotifier.h"

#include "language/ResourceImage.h"
#include "store/Version.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>

namespace {

// The icon itself, sent with the notification (the "image-data" hint): it shows
// even where the program's icon is not installed in the icon theme.
struct NotificationImage {
    int width = 0;
    int height = 0;
    int rowStride = 0;
    bool hasAlpha = true;
    int bitsPerSample = 8;
    int channels = 4;
    QByteArray pixels;
};

QDBusArgument &operator<<(QDBusArgument &argument, const NotificationImage &image)
{
    argument.beginStructure();
    argument << image.width << image.height << image.rowStride << image.hasAlpha << image.bitsPerSample
             << image.channels << image.pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, NotificationImage &image)
{
    argument.beginStructure();
    argument >> image.width >> image.height >> image.rowStride >> image.hasAlpha >> image.bitsPerSample
        >> image.channels >> image.pixels;
    argument.endStructure();
    return argument;
}

NotificationImage applicationImage()
{
    const QImage icon = resourceimage::image(QStringLiteral(":/images/dialmeter-48.png")).convertToFormat(QImage::Format_RGBA8888);
    NotificationImage image;
    image.width = icon.width();
    image.height = icon.height();
    image.rowStride = static_cast<int>(icon.bytesPerLine());
    image.pixels = QByteArray(reinterpret_cast<const char *>(icon.constBits()), static_cast<int>(icon.sizeInBytes()));
    return image;
}

// How long the service may take to answer before the notification goes another way.
constexpr int AnswerMilliseconds = 5000;

} // namespace

Q_DECLARE_METATYPE(NotificationImage)

DesktopNotifier::DesktopNotifier(int shownMilliseconds, QObject *parent)
    : QObject(parent)
    , shownMilliseconds_(shownMilliseconds)
{
}

void DesktopNotifier::show(const QString &title, const QString &text, Failure failure)
{
    // Registered with the first notification: a meter that shows none never
    // sets up D-Bus's type system.
    static const QMetaType imageType = qDBusRegisterMetaType<NotificationImage>();
    Q_UNUSED(imageType);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        failure(bus.lastError().message());
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(Service, QStringLiteral("/org/freedesktop/Notifications"),
                                                       Service, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(version::AppId)},
                            {QStringLiteral("image-data"), QVariant::fromValue(applicationImage())},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    // Arguments: application, notification replaced, icon, title, text,
    // actions, hints, time shown.
    call << ApplicationName << shown_ << IconName << title << text << QStringList() << hints
         << qint32(shownMilliseconds_);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, AnswerMilliseconds), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, failure = std::move(failure)] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError())
            failure(reply.error().message());
        else
            shown_ = reply.value();
    });
}
