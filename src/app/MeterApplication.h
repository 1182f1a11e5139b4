// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "metering/ConnectionProbe.h"
#include "store/Clock.h"
#include "QuitSignals.h"
#include "store/StoreBackend.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <memory>

class ConsoleCore;
class Meter;
class DesktopNotifier;
class InstanceLock;
class Journal;
class Language;
class MeteringTick;
class OptionsLogic;
class PopupAnimation;
class TrayCommands;
class YearReport;
class SettingsStore;
class WindowSet;

// The running meter: takes the data folder, opens the store, runs the start-up
// and owns the windows until the end of the process.
class MeterApplication final : public QObject {
    Q_OBJECT
public:
    MeterApplication();
    ~MeterApplication() override;

    // False when the meter cannot run (data folder, lock, store); the user has
    // been told why.
    bool start();

protected:
    // Ends the meter on every request to quit the application.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Wait { No, UntilRead };
    void tell(const QString &message, Wait wait = Wait::No);
    static qint64 screenWidthTwips();
    // Whether the meter places the console on a real screen: not on the
    // offscreen platform's make-believe one, nor where the compositor places
    // the windows.
    static bool placesConsole();
    // Reads the metering options again whenever the store's files change (the
    // store tool, another member's meter, this meter's own saves).
    void watchStore(const QString &folder);

    SystemClock clock_;
    std::unique_ptr<StoreBackend> backend_;
    QuitSignals quitSignals_;
    std::unique_ptr<InstanceLock> lock_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<Journal> journal_;
    std::unique_ptr<Language> language_;
    std::unique_ptr<WindowSet> windows_;
    ConnectionProbe probe_;
    std::unique_ptr<Meter> meter_;
    std::unique_ptr<ConsoleCore> consoleCore_;
    std::unique_ptr<MeteringTick> tick_;
    std::unique_ptr<TrayCommands> tray_;
    std::unique_ptr<PopupAnimation> popup_;
    std::unique_ptr<OptionsLogic> options_;
    std::unique_ptr<YearReport> report_;
    std::unique_ptr<DesktopNotifier> notifier_;
    QFileSystemWatcher storeFiles_;
    QTimer storeChanged_;
};
