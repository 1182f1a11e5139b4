// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal on the event loop, so that a
// terminal, a service manager or a desktop log-out ends the meter the way
// "Quitter" does. One instance per process.
class QuitSignals final : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested(int signalNumber);

private:
    static void handle(int signalNumber);
    void drain();

    QSocketNotifier *notifier_ = nullptr;
};
