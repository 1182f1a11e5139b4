// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleCore.h"

#include "ConsoleView.h"

#include <QCoreApplication>
#include "language/Language.h"
#include "language/LanguageTargets.h"
#include "metering/Meter.h"
#include "store/LaunchAtStartup.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

ConsoleCore::ConsoleCore(ConsoleServices services, Meter &meter)
    : s_(std::move(services))
    , meter_(meter)
    , warnings_(meter)
{
    QObject::connect(&meter_, &Meter::popupDue, &listening_, [this] { hiding_.fadeOutForPopup(); });
    QObject::connect(&meter_, &Meter::connectedTickDone, &listening_, [this] { warnings_.check(); });
    // The package or the thresholds may have changed: a threshold the month
    // has reached meanwhile is told now.
    QObject::connect(&meter_, &Meter::optionsRead, &listening_, [this] { warnings_.recheck(); });
}

qint64 ConsoleCore::storedPosition(const QString &path, qint64 fallback) const
{
    bool ok = false;
    const double twips = s_.store.value(HKLM, path).trimmed().toDouble(&ok);
    return ok && qAbs(twips) < 1e9 ? qRound64(twips) : fallback;
}

void ConsoleCore::load(qint64 screenWidthTwips)
{
    screenWidth_ = screenWidthTwips;
    slideToHide = schema::readTruth(s_.store.value(HKLM, schema::options::OldHideWay.path), true);
    const qint64 defaultLeft = schema::defaultConsoleLeft(screenWidthTwips);
    const qint64 defaultTop = schema::options::Y.defaultText.toLongLong();
    const qint64 left = storedPosition(schema::options::X.path, defaultLeft);
    const qint64 top = storedPosition(schema::options::Y.path, defaultTop);
    // A console stored where no screen shows it would be out of reach: it comes
    // up at the default place instead (the stored place stays until the Options
    // dialog is confirmed).
    const bool reachable = s_.view.fitsOnScreen(left, top);
    shownLeft_ = reachable ? left : defaultLeft;
    if (schema::readTruth(s_.store.value(HKLM, schema::options::Cache.path), false)) {
        hidden = true;
        hiding_.hideAtStart();
    } else {
        s_.view.placeLeft(shownLeft_);
    }
    s_.view.placeTop(reachable ? top : defaultTop);

    s_.view.setUserHeading(meter_.currentUserName() + QStringLiteral(" :"));
    meter_.load();
    loaded_ = true;

    applyLanguageAndOptions();
    // Decided on the month as the date check left it, with the options just
    // read. Before the alert is armed only the indicator can show: the alert
    // window waits for a connection.
    meter_.decidePackageIndicator();
    meter_.setAlertArmed(true);
}

void ConsoleCore::applyLanguageAndOptions()
{
    s_.language.selectStored(s_.store);
    s_.language.apply(s_.windows.windowsToTranslate());

    applyHidingAndPlacement();
    QString error;
    if (!registerLaunchAtStartup(s_.store, s_.startupEntry, QCoreApplication::applicationFilePath(), &error) && s_.tell)
        s_.tell(QStringLiteral("Le lancement à l'ouverture de session n'a pas pu être mis en place : %1").arg(error));

    meter_.readOptions();
}

bool ConsoleCore::anchored() const
{
    bool isNumber = false;
    const double anchoring = s_.store.value(HKLM, schema::options::Ancrage.path).trimmed().toDouble(&isNumber);
    return !isNumber || anchoring != 0;
}

void ConsoleCore::applyHidingAndPlacement()
{
    slideToHide = schema::readTruth(s_.store.value(HKLM, schema::options::OldHideWay.path), true);
    // A missing or unreadable "Top" keeps the console in the normal order.
    bool isNumber = false;
    const double top = s_.store.value(HKLM, schema::options::Top.path).trimmed().toDouble(&isNumber);
    s_.view.setOnTop(isNumber && top == 1);
    s_.view.setMovableCursor(!anchored());
}

void ConsoleCore::shutdown()
{
    if (shutdownDone_ || !loaded_)
        return;
    shutdownDone_ = true;
    saveState();
    meter_.closeConnectionAtExit();
}

void ConsoleCore::saveState()
{
    // A console that never loaded has no state to save: writing its empty
    // working copies would wipe the stored ones.
    if (!loaded_)
        return;
    s_.store.write(HKLM, schema::options::Cache.path, schema::truthText(hidden));
    meter_.save();
}
