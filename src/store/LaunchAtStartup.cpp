// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchAtStartup.h"

#include "Schema.h"
#include "SettingsStore.h"
#include "StartupEntry.h"

bool registerLaunchAtStartup(SettingsStore &store, StartupEntry &entry, const QString &program, QString *error)
{
    const bool wanted = store.value(SettingsStore::LocalMachine, schema::options::LaunchAtWinStartup.path) == schema::FlagOn;
    const bool present = entry.read().has_value();
    if (!wanted && present)
        entry.remove();
    if (wanted && !present) {
        std::string reason;
        if (!entry.write(program.toStdString(), &reason)) {
            *error = QString::fromStdString(reason);
            return false;
        }
    }
    return true;
}
