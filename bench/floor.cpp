// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit floor: the least a Qt Widgets program that does what the meter
// shows can cost. One frameless window with one label that a precise one-second
// timer updates, and a tray icon. At its first tick it appends a line to the file
// named by its argument, as the meter's first connected tick writes its journal.

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTime>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString firstTickFile = app.arguments().value(1);

    QLabel label(QStringLiteral("00:00:00"));
    label.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    label.resize(250, 101);
    label.show();

    QPixmap dot(16, 16);
    dot.fill(Qt::darkBlue);
    QSystemTrayIcon tray{QIcon(dot)};
    tray.show();

    int seconds = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        label.setText(QTime(0, 0).addSecs(++seconds).toString(QStringLiteral("HH:mm:ss")));
        if (seconds == 1 && !firstTickFile.isEmpty()) {
            QFile file(firstTickFile);
            if (file.open(QIODevice::Append))
                file.write("tick\r\n");
        }
    });
    timer.start(1000);
    return QApplication::exec();
}
