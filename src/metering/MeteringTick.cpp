// SPDX-License-Identifier: GPL-3.0-or-later
#include "MeteringTick.h"

#include "ConnectionProbe.h"
#include "DurationText.h"
#include "app/Schema.h"
#include "app/SettingsStore.h"
#include "console/ConsoleCore.h"
#include "console/ConsoleView.h"
#include "options/Language.h"
#include "records/Journal.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;

} // namespace

MeteringTick::MeteringTick(ConsoleCore &console)
    : console_(console)
{
}

QString MeteringTick::option(const QString &path) const
{
    return console_.services().store.Lit(HKLM, path);
}

void MeteringTick::Timer1_Timer()
{
    ConsoleView &view = console_.services().view;

    // One look at the link per second: every step of the tick works from the
    // same answer, so a link that drops in the middle of a tick cannot be counted
    // as both up and down.
    const int connected = console_.services().probe.EstConnecte();
    const bool wasConnected = console_.Label14.toInt() == 1;
    // The first tick of a new date takes the new day or month, connected or
    // not: the seconds before it are counted into the old day and month (saved,
    // then archived), this one and those after into the new ones.
    if (console_.dateCheck().dateChanged()) {
        if (wasConnected)
            console_.saveCounters();
        console_.dateCheck().Check_Date();
    }
    const bool changed = wasConnected != (connected == 1);
    if (changed) {
        if (connected == 1)
            connectionBegan();
        else
            connectionEnded();
    }

    if (connected != 1) {
        setToolTip(view.holderText(QStringLiteral("PasConnecté")));
        view.setStatus(view.holderText(QStringLiteral("Déconnecté")));
        console_.alertArmed = true;
    } else {
        view.setStatus(view.holderText(QStringLiteral("ConnectéC")));
        setToolTip(view.holderText(QStringLiteral("Depuis")) + QStringLiteral("  ") + duration_);
        countConnectedSecond();
        console_.alertArmed = false;
    }

    if (console_.Pourcent == schema::FlagOn)
        console_.Calcul();
    // The month grows only while connected: only then can it reach a threshold.
    if (connected == 1)
        console_.warnings().check();
    console_.Label14 = QString::number(connected);
    console_.Label15 = duration_;
}

void MeteringTick::advance(QString &counter, std::optional<QString> (*step)(const QString &))
{
    if (const auto next = step(counter)) {
        counter = *next;
        return;
    }
    // A text that is somehow no longer a duration text starts again from zero
    // rather than stopping the meter; one at the largest duration stays there.
    if (!duration::isDurationText(counter)) {
        counter = duration::Zero;
        return;
    }
    if (!limitReported_ && console_.services().tell)
        // Told once a run: a counter at the largest duration it can hold.
        console_.services().tell(console_.services()
                                     .language
                                     .message(QStringLiteral("CounterAtLimit"),
                                              QStringLiteral("Un compteur a atteint sa valeur la plus grande (%1) : il y "
                                                             "reste jusqu'à sa remise à zéro."))
                                     .arg(counter));
    limitReported_ = true;
}

void MeteringTick::setToolTip(const QString &text)
{
    console_.Label8ToolTip = text;
    console_.services().view.setSurfaceToolTip(text);
}

void MeteringTick::connectionBegan()
{
    console_.UserId = console_.NomUtilisateur();
    duration_ = duration::Zero;
    ticksSinceSave_ = 0;
    // A reset made in the store while disconnected is taken up here.
    console_.reloadCounters();
    if (console_.indivisible == schema::FlagOn) {
        for (QString *counter : {&console_.Txtmois, &console_.TextId, &console_.TxtDay})
            advance(*counter, duration::AjouteMinute);
    }
    const ConsoleView &view = console_.services().view;
    console_.journalWritten(
        console_.services().journal.appendOpening(console_.UserId, view.holderText(QStringLiteral("Connexion"))));
}

void MeteringTick::connectionEnded()
{
    console_.UserId = console_.NomUtilisateur();
    console_.saveCounters();
    ticksSinceSave_ = 0;
    const ConsoleView &view = console_.services().view;
    console_.journalWritten(console_.services().journal.appendClosing(
        console_.UserId, view.holderText(QStringLiteral("Déconnexion")), duration_));
}

void MeteringTick::countConnectedSecond()
{
    const auto minutes = duration::Minutes(duration_);
    const auto seconds = duration::Secondes(duration_);

    // The pop-up comes once at each ten-minute mark of the connection, when
    // wanted; a missing or non-numeric option means no pop-up.
    bool popWanted = false;
    const int pop = option(schema::options::Pop.path).trimmed().toInt(&popWanted);
    if (popWanted && pop == 1 && minutes && seconds && *minutes % 10 == 0 && *minutes != 0 && *seconds == 0)
        console_.hiding().cacher2();

    // The first minute of a connection charged in full was counted when it began.
    const bool firstMinutePaid = console_.indivisible == schema::FlagOn && duration::Heures(duration_) == 0
        && minutes == 0;
    advance(duration_, duration::AjouteSeconde);
    if (!firstMinutePaid) {
        for (QString *counter : {&console_.TextId, &console_.Txtmois, &console_.TxtDay})
            advance(*counter, duration::AjouteSeconde);
    }
    console_.services().view.showCounters(console_.Txtmois, console_.TxtDay, console_.TextId);

    // With no package there is nothing to exceed, whatever the alert option says.
    if (option(schema::options::Alarm.path) != schema::FlagOff && console_.TempsForfait != duration::Zero) {
        if (duration::CompareDurees(console_.Txtmois, console_.TempsForfait) == -1)
            console_.ForfaitDepasse();
        if (duration::CompareDurees(console_.Txtmois, console_.TempsForfait) == 0)
            console_.ForfaitJusteDepasse();
    }

    if (++ticksSinceSave_ >= SaveEveryTicks) {
        ticksSinceSave_ = 0;
        console_.saveCounters();
    }
}
