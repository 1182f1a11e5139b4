// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class ConsoleView;
class Language;
class LanguageTargets;
class SettingsStore;
class StartupEntry;

// What the console's logic works with: the store, its window, the language and
// the windows it applies to, the launch at log-on, and a way to tell the user
// something.
struct ConsoleServices {
    SettingsStore &store;
    ConsoleView &view;
    Language &language;
    LanguageTargets &windows;
    StartupEntry &startupEntry;
    std::function<void(const QString &)> tell;
};
