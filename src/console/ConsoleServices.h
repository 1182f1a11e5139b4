// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class Clock;
class ConnectionProbe;
class ConsoleView;
class Journal;
class Language;
class LanguageTargets;
class SettingsStore;
class StartupEntry;
class SystemIdentity;

// What the console's logic works with: the store, the system, its window, the
// language, the link and the journal, and a way to tell the user something.
struct ConsoleServices {
    SettingsStore &store;
    const SystemIdentity &identity;
    ConsoleView &view;
    Language &language;
    LanguageTargets &windows;
    ConnectionProbe &probe;
    const Journal &journal;
    const Clock &clock;
    StartupEntry &startupEntry;
    std::function<void(const QString &)> tell;
};
