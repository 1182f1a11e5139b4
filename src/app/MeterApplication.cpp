// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeterApplication.h"

#include "store/DataFolder.h"
#include "store/DisplayPlatform.h"
#include "EntryProcedure.h"
#include "InstanceLock.h"
#include "console/ConsoleCore.h"
#include "metering/Meter.h"
#include "store/PlatformStore.h"
#include "store/SettingsStore.h"
#include "store/SystemIdentity.h"
#include "WindowSet.h"
#include "console/ConsoleWindow.h"
#include "language/CatalogueWindow.h"
#include "language/Language.h"
#include "language/Twips.h"
#include "metering/LinkProbe.h"
#include "metering/MeteringTick.h"
#include "options/OptionsDialog.h"
#include "options/OptionsLogic.h"
#include "records/Journal.h"
#include "records/YearReport.h"
#include "store/StartupEntry.h"
#include "tray/DesktopNotifier.h"
#include "tray/PopupAnimation.h"
#include "tray/TrayCommands.h"
#include "tray/TrayForm.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <cstdio>

MeterApplication::MeterApplication()
    : probe_(platformLinkProbe())
{
    // "Quitter", the stop signals and the desktop session's end all come as a
    // request to quit the application.
    qApp->installEventFilter(this);
    connect(&quitSignals_, &QuitSignals::quitRequested, this, &QCoreApplication::quit);
    // Whatever ends the event loop ("Quitter", a signal, the session) ends the meter.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (consoleCore_)
            consoleCore_->shutdown();
    });
    // A desktop log-out may still be cancelled: save, and go on counting.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        if (consoleCore_)
            consoleCore_->saveState();
    });
}

MeterApplication::~MeterApplication() = default;

bool MeterApplication::eventFilter(QObject *watched, QEvent *event)
{
    // Left to Qt, a quit request first asks every shown window to close, and a
    // viewer that hides instead of closing cancels it (with a viewer open and
    // the console closed by the window manager, the meter ran on after a stop
    // signal or a log-out). The meter ends whatever its windows say; leaving
    // the event loop saves the counters.
    if (watched == qApp && event->type() == QEvent::Quit) {
        QCoreApplication::exit(0);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void MeterApplication::tell(const QString &message, Wait wait)
{
    std::fprintf(stderr, "dialmeter: %s\n", qPrintable(message));
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Dialmeter"), message);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // A message that comes just before the process ends must be read first;
    // the others leave the meter counting while they are shown.
    if (wait == Wait::UntilRead)
        box->exec();
    else
        box->open();
}

qint64 MeterApplication::screenWidthTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? twips::fromPixels(screen->geometry().width()) : 0;
}

bool MeterApplication::placesConsole()
{
    const QString platform = QGuiApplication::platformName();
    return QGuiApplication::primaryScreen() && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal") && !displayplatform::placedByCompositor(platform);
}

bool MeterApplication::start()
{
    QString error;
    const QString folder = datafolder::ensure(&error);
    if (folder.isEmpty()) {
        tell(error, Wait::UntilRead);
        return false;
    }
    datafolder::shareNewFilesWithGroup(folder);
    if (const QString warning = datafolder::sharingWarning(folder); !warning.isEmpty())
        tell(warning);
    lock_ = std::make_unique<InstanceLock>(folder);
    QString notice;
    if (!lock_->acquire(&error, &notice)) {
        tell(error, Wait::UntilRead);
        return false;
    }
    if (!notice.isEmpty())
        tell(notice);
    std::string storeNotice, storeError;
    backend_ = openPlatformStore(folder.toStdString(), &storeNotice, &storeError);
    if (!backend_) {
        tell(QStringLiteral("Les réglages n'ont pas pu être ouverts : %1").arg(QString::fromStdString(storeError)),
             Wait::UntilRead);
        return false;
    }
    if (!storeNotice.empty())
        tell(QString::fromStdString(storeNotice));

    store_ = std::make_unique<SettingsStore>(*backend_);
    store_->setFailureHandler([this](const QString &message) { tell(message); });
    journal_ = std::make_unique<Journal>(folder, clock_);

    const qint64 screenWidth = screenWidthTwips();
    const StartupOutcome outcome = runEntryProcedure(*store_, platformIdentity(), *journal_,
                                                     placesConsole() ? std::optional(screenWidth) : std::nullopt);

    language_ = std::make_unique<Language>(Language::programFolders(folder), folder);
    language_->setErrorHandler([this](const QString &message) { tell(message); });
    store_->setMessageText(
        [this](const QString &key, const QString &builtIn) { return language_->message(key, builtIn); });
    windows_ = std::make_unique<WindowSet>(*language_);
    connect(windows_.get(), &WindowSet::quitRequested, this, &QCoreApplication::quit);
    connect(windows_.get(), &WindowSet::message, this, [this](const QString &text) { tell(text); });
    probe_.setFailureHandler([this](const QString &message) { tell(message); });
    meter_ = std::make_unique<Meter>(MeterServices{*store_, platformIdentity(), windows_->console(), *language_, probe_,
                                                   *journal_, clock_, [this](const QString &message) { tell(message); }});
    consoleCore_ = std::make_unique<ConsoleCore>(ConsoleServices{*store_, windows_->console(), *language_, *windows_,
                                                                 platformStartupEntry(),
                                                                 [this](const QString &message) { tell(message); }},
                                                 *meter_);
    consoleCore_->oldWindows = outcome.oldWindows;
    consoleCore_->compositorPlaces = displayplatform::placedByCompositor(QGuiApplication::platformName());
    tick_ = std::make_unique<MeteringTick>(*meter_);
    windows_->console().attach(*consoleCore_);
    TrayForm &trayForm = windows_->trayForm();
    tray_ = std::make_unique<TrayCommands>(*consoleCore_, trayForm);
    popup_ = std::make_unique<PopupAnimation>(*consoleCore_, trayForm);
    report_ = std::make_unique<YearReport>(*meter_, folder + QStringLiteral("/log.txt"));
    trayForm.attach(*tray_, *popup_, *report_);
    connect(&windows_->console(), &ConsoleWindow::popupRequested, this, [this] { popup_->startPopup(); });
    for (const char *entry : {"MnuMaximize", "MnuMinimize"})
        connect(trayForm.control<QAction>(QString::fromLatin1(entry)), &QAction::triggered, this,
                [this] { consoleCore_->hiding().toggleHidden(); });
    connect(windows_->console().control<QTimer>(QStringLiteral("Timer1")), &QTimer::timeout, this,
            [this] { tick_->onTick(); });
    options_ = std::make_unique<OptionsLogic>(*consoleCore_);
    windows_->setOptionsLogic(*options_);
    windows_->setJournal(*journal_);
    windows_->setOutlookSource(*meter_, consoleCore_->warnings());
    // Warnings as desktop notifications; without the service, on the tray
    // icon; without a tray either, told the meter's usual way.
    notifier_ = std::make_unique<DesktopNotifier>();
    consoleCore_->warnings().setNotifier([this, &trayForm](const QString &title, const QString &text) {
        notifier_->show(title, text, [this, &trayForm, title, text](const QString &) {
            if (!trayForm.showBalloon(title, text))
                tell(title + QStringLiteral(" — ") + text);
        });
    });
    consoleCore_->load(screenWidth);
    watchStore(folder);
    // Told in the language the load has chosen. A Wayland desktop without a
    // panel for the icon is common: there it is a notification, not a box to
    // close at every start (a box still, when there is no notification either).
    if (!trayForm.hasTray()) {
        const QString noTray = language_->message(
            QStringLiteral("NoTray"), QStringLiteral("Ce bureau n'a pas de zone de notification : le menu de "
                                                     "Dialmeter s'ouvre d'un clic droit sur la console."));
        if (consoleCore_->compositorPlaces) {
            trayForm.notice().show(QStringLiteral("Dialmeter"), noTray, [this, noTray](const QString &) {
                tell(noTray);
            });
        } else {
            tell(noTray);
        }
    }
    // A first start shows the Options dialog; its "OK" brings the console. A
    // hidden console is shown too, in its hidden state (slid away or
    // transparent), so that "Montrer" has a window to bring back.
    if (outcome.firstStart)
        windows_->optionsDialog().reload();
    else
        windows_->console().show();
    return true;
}

void MeterApplication::watchStore(const QString &folder)
{
    const QString file = datafolder::storeFile(folder);
    const QStringList files{file, file + QStringLiteral("-wal")};
    const auto watchThoseThere = [this, files] {
        for (const QString &path : files)
            if (!storeFiles_.files().contains(path) && QFileInfo::exists(path))
                storeFiles_.addPath(path);
    };
    watchThoseThere();
    // One read for the several notices a single write gives.
    storeChanged_.setSingleShot(true);
    storeChanged_.setInterval(0);
    connect(&storeFiles_, &QFileSystemWatcher::fileChanged, &storeChanged_, qOverload<>(&QTimer::start));
    connect(&storeChanged_, &QTimer::timeout, this, [this, watchThoseThere] {
        // A file replaced (the log of changes made anew) is watched again.
        watchThoseThere();
        meter_->readOptions();
    });
}
