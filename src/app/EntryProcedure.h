// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class Journal;
class SettingsStore;
class SystemIdentity;

// What the process start decided, for the windows that come next.
struct StartupOutcome {
    bool oldWindows = false; // no transparency effects at all
    QString userName;
    bool firstStart = false; // the Options dialog comes before the console
};

// The process start: notes the old-Windows flag, makes sure this year's journal
// exists, writes the missing defaults, registers the user in the user slots and
// reads the first-start marker. The screen width is in twips, at full width (a
// screen wider than 32767 twips still gets its default position from its width).
// Without a real screen (no display) no position is stored: a default worked out
// from a make-believe screen would misplace the console on the next desktop start.
StartupOutcome runEntryProcedure(SettingsStore &store, const SystemIdentity &identity, const Journal &journal,
                                 std::optional<qint64> screenWidthTwips);

// Registers a user name in the first free user slot, unless a slot already holds
// it (compared exactly, case included). Returns the slot number.
int registerUser(SettingsStore &store, const QString &userName);
