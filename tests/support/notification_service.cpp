// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the desktop's notification service, for the tests: it owns
// org.freedesktop.Notifications on the session bus, prints "ready" once it does,
// then one line on standard output for each notification it is sent:
//   notify<TAB>application<TAB>replaced<TAB>icon<TAB>title<TAB>text<TAB>image<TAB>desktop entry<TAB>id
// where image is the size of the "image-data" hint ("48x48") or "none". Each
// notification is answered with the number of the one it replaces, or a new one.
// Runs until it is killed.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <cstdio>

namespace {

QString imageSize(const QVariant &hint)
{
    if (!hint.canConvert<QDBusArgument>())
        return QStringLiteral("none");
    const QDBusArgument argument = hint.value<QDBusArgument>();
    int width = 0, height = 0, rowStride = 0, bitsPerSample = 0, channels = 0;
    bool hasAlpha = false;
    QByteArray pixels;
    argument.beginStructure();
    argument >> width >> height >> rowStride >> hasAlpha >> bitsPerSample >> channels >> pixels;
    argument.endStructure();
    // Only an image whose pixels are all there counts.
    if (pixels.size() != rowStride * height || channels != 4 || bitsPerSample != 8)
        return QStringLiteral("broken");
    return QStringLiteral("%1x%2").arg(width).arg(height);
}

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

class NotificationService final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public slots:
    uint Notify(const QString &application, uint replaced, const QString &icon, const QString &title,
                const QString &text, const QStringList &, const QVariantMap &hints, int)
    {
        const uint id = replaced != 0 ? replaced : ++last_;
        const QStringList fields{QStringLiteral("notify"),
                                 oneLine(application),
                                 QString::number(replaced),
                                 oneLine(icon),
                                 oneLine(title),
                                 oneLine(text),
                                 imageSize(hints.value(QStringLiteral("image-data"))),
                                 oneLine(hints.value(QStringLiteral("desktop-entry")).toString()),
                                 QString::number(id)};
        std::printf("%s\n", fields.join(QLatin1Char('\t')).toUtf8().constData());
        std::fflush(stdout);
        return id;
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
    QString GetServerInformation(QString &vendor, QString &version, QString &protocolVersion)
    {
        vendor = QStringLiteral("Dialmeter tests");
        version = QStringLiteral("1");
        protocolVersion = QStringLiteral("1.2");
        return QStringLiteral("notification-service");
    }
    void CloseNotification(uint) {}

signals:
    void NotificationClosed(uint id, uint reason);

private:
    uint last_ = 0;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    NotificationService service;
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
        || !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "notification-service: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "notification_service.moc"
