// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayCommands.h"

#include "TrayView.h"
#include "console/ConsoleCore.h"
#include "metering/DurationText.h"
#include "metering/Meter.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"
#include "store/Version.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
constexpr int TipLength = 17;
} // namespace

TrayCommands::TrayCommands(ConsoleCore &console, TrayView &view)
    : console_(console)
    , view_(view)
{
}

QString TrayCommands::tipText()
{
    const QString tip = QStringLiteral("Dialmeter v ") + QLatin1String(version::Text);
    return tip.leftJustified(TipLength, QLatin1Char(' '), true);
}

void TrayCommands::iconMessage(int message)
{
    lastMessage_ = message;
    if (busy_)
        return;
    busy_ = true;
    if (message == LeftUp)
        console_.hiding().fadeOutForPopup();
    else if (message == RightUp)
        rightClicked();
    busy_ = false;
}

void TrayCommands::rightClicked()
{
    view_.openMenu();
}

bool TrayCommands::confirmed(const QString &title)
{
    return view_.askYesNo(title, view_.holderText(QStringLiteral("Sur")));
}

void TrayCommands::resetUser()
{
    if (!confirmed(QStringLiteral("Reset user")))
        return;
    Meter &meter = console_.meter();
    console_.services().store.write(HKLM, schema::variables::user(meter.currentUserName()).path, duration::Zero);
    meter.setCounters(meter.monthTotal(), meter.dayTotal(), duration::Zero);
}

void TrayCommands::resetDay()
{
    if (!confirmed(QStringLiteral("Reset day")))
        return;
    console_.services().store.write(HKLM, schema::variables::Jour.path, duration::Zero);
    Meter &meter = console_.meter();
    meter.setCounters(meter.monthTotal(), duration::Zero, meter.userMonth());
}

void TrayCommands::resetAll()
{
    if (!confirmed(QStringLiteral("Reset global")))
        return;
    SettingsStore &store = console_.services().store;
    Meter &meter = console_.meter();
    const QString user = meter.currentUserName();
    store.remove(HKLM, schema::VariablesKey);
    for (const QString &path :
         {schema::variables::Total.path, schema::variables::Jour.path, schema::variables::user(user).path})
        store.write(HKLM, path, duration::Zero);
    meter.setCounters(duration::Zero, duration::Zero, duration::Zero);
    meter.decidePackageIndicator();
}
