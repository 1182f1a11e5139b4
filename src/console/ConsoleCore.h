// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConsoleHiding.h"
#include "ConsoleMouse.h"
#include "ConsoleServices.h"
#include "metering/DateCheck.h"
#include "outlook/ThresholdWarnings.h"

#include <QString>

// The console's logic and its working state: the counters as duration texts (the
// working copies of the stored counters while the program runs), the user, the
// console options and the flags the metering reads. The console window shows
// this state; it holds none of it.
class ConsoleCore {
public:
    explicit ConsoleCore(ConsoleServices services);

    // Fills the counters from the store (repairing any that is missing or not a
    // duration text), places or hides the console, checks the package and
    // applies the options. The screen width (twips) places a console whose
    // stored position does not read as a number.
    void load(qint64 screenWidthTwips);

    // Applies the stored language and options to the windows; run at load and
    // after the Options dialog is confirmed.
    void applyLanguageAndOptions();
    // Reads the options the metering works from (the links, the first minute,
    // the bar, the pop-up, the alert) into the fields below: at load, after the
    // Options dialog, and whenever the store changes, so that no tick has to
    // read the store.
    void readMeteringOptions();
    // Applies the hiding style, the always-on-top option and the anchoring.
    void applyHidingAndPlacement();

    // Whether the console is locked in place ("Ancrage" is not 0; missing or
    // unreadable counts as locked).
    bool anchored() const;
    // Where the shown console stands: the stored left edge, or the default one
    // when the stored position is on no screen (a monitor removed).
    qint64 shownLeft() const { return shownLeft_; }
    qint64 screenWidthTwips() const { return screenWidth_; }

    // Saves the hidden state and the counters; may run any number of times (a
    // desktop log-out that is cancelled saves without ending the program).
    void saveState();
    // The end of the program: saves the state and, when a connection is up,
    // closes it in the journal. Runs its work once, however many ways the
    // program is asked to stop.
    void shutdown();

    // The month is over the package / has just reached it.
    void packageExceeded();
    void packageJustReached();
    // The current user's share of the month on the percentage bar.
    void updatePercentBar();

    QString currentUserName() const;
    // The stored counter, or "00:00:00" (repairing the store) when it is missing
    // or not a duration text; `current` (the working copy) when the store could
    // not be read.
    QString loadCounter(const QString &path, const QString &current = QString());
    // The package-exceeded indicator shown when the month is over a package,
    // hidden otherwise (a new month, a reset).
    void decidePackageIndicator();
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
    // Tells the user once that the journal cannot be written, until it can again.
    void journalWritten(bool written);

    const ConsoleServices &services() const { return s_; }
    DateCheck &dateCheck() { return dateCheck_; }
    ConsoleHiding &hiding() { return hiding_; }
    ConsoleMouse &mouse() { return mouse_; }
    ThresholdWarnings &warnings() { return warnings_; }

    // Working state. The counters are duration texts ("hhh:mm:ss").
    QString monthTotal; // the month, all users
    QString dayTotal;   // the day
    QString userMonth;  // the current user's month
    QString userName;   // the user the meter counts for
    QString percentBarOption; // "1": the percentage bar is shown
    QString indivisible; // the Indivisible option, read by the metering tick
    QString packageTime; // the monthly package; "00:00:00" = none
    bool popUpWanted = false; // the pop-up at each ten-minute mark
    bool packageAlarm = true; // the alert when the package is used up
    QString previousLinkState = QStringLiteral("0"); // the link state at the previous tick
    QString connectionDuration; // the running connection duration, as of the last tick
    QString surfaceToolTip; // the console's tool tip: the link's state and duration
    bool slideToHide = true; // hiding slides the console sideways, else fades it
    bool hidden = false;     // the console is put away
    bool alertArmed = false;
    bool oldWindows = false; // no transparency at all
    // The compositor places the windows (a native Wayland client): the console
    // cannot slide or be moved by the program, and the pop-up's figures come as
    // a desktop notification.
    bool compositorPlaces = false;

    // Whether the console is put away by sliding (the style chosen, where the
    // program may move its windows) rather than by fading.
    bool slides() const { return slideToHide && !compositorPlaces; }

private:
    qint64 storedPosition(const QString &path, qint64 fallback) const;

    ConsoleServices s_;
    DateCheck dateCheck_{*this};
    ConsoleHiding hiding_{*this};
    ConsoleMouse mouse_{*this};
    ThresholdWarnings warnings_{*this};
    qint64 shownLeft_ = 0;
    qint64 screenWidth_ = 0;
    bool loaded_ = false;
    bool shutdownDone_ = false;
    bool journalFailureReported_ = false;
    bool countersUnread_ = true;

    // Adds the working copies, counted since the store last could not give its
    // counters, to the stored counters. False, with nothing changed, while the
    // store still cannot give them.
    bool mergeUnreadCounters();
};
