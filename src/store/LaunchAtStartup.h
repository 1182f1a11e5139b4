// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SettingsStore;
class StartupEntry;

// Brings the session start-up entry in line with the "LaunchAtWinStartup"
// option: made when the option is "1" and there is none, removed when the
// option is anything else and there is one, and otherwise left as it is (an
// entry for another path included). Returns false, with *error, when the entry
// could not be made.
bool registerLaunchAtStartup(SettingsStore &store, StartupEntry &entry, const QString &program, QString *error);
