// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConsoleHiding.h"
#include "ConsoleMouse.h"
#include "ConsoleServices.h"
#include "outlook/ThresholdWarnings.h"

#include <QObject>
#include <QString>

class Meter;

// The console's logic and its state: where it stands, whether it is put away,
// its options, and the language and options applied to the windows. It shows
// the meter it is given; the console window shows this state and holds none of
// it.
class ConsoleCore {
public:
    ConsoleCore(ConsoleServices services, Meter &meter);

    // Places or hides the console, loads the meter, applies the options and
    // shows whether the package is exceeded. The screen width (twips) places a
    // console whose stored position does not read as a number.
    void load(qint64 screenWidthTwips);

    // Applies the stored language and options to the windows and has the meter
    // read its options again; run at load and after the Options dialog is
    // confirmed.
    void applyLanguageAndOptions();
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

    const ConsoleServices &services() const { return s_; }
    Meter &meter() { return meter_; }
    const Meter &meter() const { return meter_; }
    ConsoleHiding &hiding() { return hiding_; }
    ConsoleMouse &mouse() { return mouse_; }
    ThresholdWarnings &warnings() { return warnings_; }

    bool slideToHide = true; // hiding slides the console sideways, else fades it
    bool hidden = false;     // the console is put away
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
    Meter &meter_;
    ConsoleHiding hiding_{*this};
    ConsoleMouse mouse_{*this};
    ThresholdWarnings warnings_;
    qint64 shownLeft_ = 0;
    qint64 screenWidth_ = 0;
    bool loaded_ = false;
    bool shutdownDone_ = false;
    // The meter's news is heard while this lives: it goes first.
    QObject listening_;
};
