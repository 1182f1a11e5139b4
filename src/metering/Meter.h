// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DateCheck.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Clock;
class ConnectionLog;
class ConnectionProbe;
class Language;
class MeterView;
class SettingsStore;
class SystemIdentity;

// What the meter works with: the store, the system, the link, the journal, the
// language of its messages, where it shows its figures, and a way to tell the
// user something.
struct MeterServices {
    SettingsStore &store;
    const SystemIdentity &identity;
    MeterView &view;
    Language &language;
    ConnectionProbe &probe;
    const ConnectionLog &journal;
    const Clock &clock;
    std::function<void(const QString &)> tell;
};

// The meter's working state and the rules that keep it: the counters as duration
// texts (the working copies of the stored counters while the program runs), the
// user they count for, the link and the connection as the last tick saw them,
// and the options the metering works from. The tick and the date check change
// it; the windows read it and are told of what they do not show themselves.
class Meter : public QObject {
    Q_OBJECT
public:
    explicit Meter(MeterServices services);

    // Takes the user, the package and the counters from the store (repairing any
    // counter that is missing or not a duration text), then checks the date.
    void load();
    // Reads the options the metering works from (the links, the first minute,
    // the bar, the pop-up, the alert): at load, after the Options dialog, and
    // whenever the store changes, so that no tick has to read the store.
    void readOptions();

    // The counters ("hhh:mm:ss").
    const QString &monthTotal() const { return monthTotal_; } // the month, all users
    const QString &dayTotal() const { return dayTotal_; }     // the day
    const QString &userMonth() const { return userMonth_; }   // the current user's month
    // Sets the three counters and shows them.
    void setCounters(const QString &month, const QString &day, const QString &user);
    // One second more on the connection and on the counters (the connection's
    // first minute, when charged in full, was counted when it began). True
    // when the connection stood at a ten-minute mark before it.
    bool countSecond();
    // The first minute of a connection charged in full, counted when it begins.
    void chargeFirstMinute();

    // The user the meter counts for, and the one logged on now.
    const QString &userName() const { return userName_; }
    QString currentUserName() const;
    // The user logged on now becomes the one the meter counts for.
    void takeCurrentUser() { userName_ = currentUserName(); }

    // The link's state at the previous tick: "1" connected, "0" not.
    const QString &previousLinkState() const { return previousLinkState_; }
    // The end of a tick that found the link in that state.
    void endTick(int linkState);
    // A ten-minute mark of the connection was passed: the pop-up, when wanted.
    void tenMinuteMarkPassed();
    // The duration of the connection under way, or of the last one; empty until
    // the first connection of the run.
    const QString &connectionDuration() const { return connectionDuration_; }
    void startConnectionDuration();
    // The console's tool tip: the link's state and the connection's duration.
    const QString &surfaceToolTip() const { return surfaceToolTip_; }
    void setSurfaceToolTip(const QString &text);

    // The options, as readOptions() last found them.
    const QString &packageTime() const { return packageTime_; } // the monthly package; "00:00:00" = none
    void setPackageTime(const QString &package) { packageTime_ = package; }
    bool percentBarShown() const;
    bool firstMinuteIndivisible() const;
    bool popUpWanted() const { return popUpWanted_; } // the pop-up at each ten-minute mark
    bool packageAlarm() const { return packageAlarm_; } // the alert when the package is used up
    // Whether a package already exceeded opens the alert: not while a
    // connection is up (it opens once, as the package is reached), again once
    // the link has been seen down.
    bool alertArmed() const { return alertArmed_; }
    void setAlertArmed(bool armed) { alertArmed_ = armed; }

    // The month is over the package / has just reached it.
    void packageExceeded();
    void packageJustReached();
    // The package-exceeded indicator shown when the month is over a package,
    // hidden otherwise (a new month, a reset).
    void decidePackageIndicator();
    // The current user's share of the month on the percentage bar.
    void updatePercentBar();

    // The stored counter, or "00:00:00" (repairing the store) when it is missing
    // or not a duration text; `current` (the working copy) when the store could
    // not be read.
    QString loadCounter(const QString &path, const QString &current = QString());
    // The three counters from the store (a reset made there is taken up).
    void reloadCounters();
    // Writes the three counters to the store. Counters the store could not give
    // are counted from zero meanwhile, and added to the stored ones as soon as
    // the store can give them; until then nothing is written over them.
    void saveCounters();
    // Saves the seconds counted while the store could not give its counters,
    // if there are any and it now can.
    void saveUnreadCounters()
    {
        if (countersUnread_)
            saveCounters();
    }
    // Whether the working counters hold the stored ones (they count from zero
    // while the store cannot give them).
    bool countersRead() const { return !countersUnread_; }
    // Saves the counters for the user logged on now, once loaded.
    void save();

    // Notes a connection's beginning or end in the journal, telling the user
    // once when it cannot be written, until it can again.
    void journalOpening();
    void journalClosing();
    // The end of the program while a connection is up: its closing entry.
    void closeConnectionAtExit();

    const MeterServices &services() const { return s_; }
    DateCheck &dateCheck() { return dateCheck_; }

signals:
    // A tick found the link up, and counted what it had to.
    void connectedTickDone();
    // The options were read again: the package or the store may have changed.
    void optionsRead();
    // A ten-minute mark of the connection was passed and the pop-up is wanted.
    void popupDue();

private:
    // The counter one step on; at its limit it stays, and the user is told once.
    void advance(QString &counter, std::optional<QString> (*step)(const QString &));
    void journalWritten(bool written);
    // Adds the working copies, counted since the store last could not give its
    // counters, to the stored counters. False, with nothing changed, while the
    // store still cannot give them.
    bool mergeUnreadCounters();

    MeterServices s_;
    DateCheck dateCheck_{*this};
    QString monthTotal_;
    QString dayTotal_;
    QString userMonth_;
    QString userName_;
    QString previousLinkState_ = QStringLiteral("0");
    QString connectionDuration_;
    QString surfaceToolTip_;
    QString packageTime_;
    QString percentBarOption_;
    QString indivisible_;
    bool popUpWanted_ = false;
    bool packageAlarm_ = true;
    bool alertArmed_ = false;
    bool loaded_ = false;
    bool countersUnread_ = true;
    bool journalFailureReported_ = false;
    bool limitReported_ = false;
};
