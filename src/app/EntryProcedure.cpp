// SPDX-License-Identifier: GPL-3.0-or-later
#include "EntryProcedure.h"

#include "records/Journal.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"
#include "store/SystemIdentity.h"

namespace {
constexpr int HKLM = SettingsStore::LocalMachine;
} // namespace

int registerUser(SettingsStore &store, const QString &userName)
{
    for (int slot = 0;; ++slot) {
        const QString held = store.value(HKLM, schema::userSlot(slot));
        if (held == userName)
            return slot;
        if (held == SettingsStore::ErrorText) {
            store.write(HKLM, schema::userSlot(slot), userName);
            return slot;
        }
    }
}

StartupOutcome runEntryProcedure(SettingsStore &store, const SystemIdentity &identity, const Journal &journal,
                                 std::optional<qint64> screenWidthTwips)
{
    StartupOutcome outcome;
    outcome.oldWindows = identity.windowsMajorVersion() == 4;
    journal.ensureCurrentFile();

    schema::ensureValue(store, {schema::userSlot(0), schema::TotalSlotName});
    outcome.userName = QString::fromStdString(identity.logOnName());
    registerUser(store, outcome.userName);

    schema::ensureValue(store, schema::options::OldHideWay);
    schema::ensureValue(store, schema::options::Cache);
    if (screenWidthTwips && store.value(HKLM, schema::options::X.path) == SettingsStore::ErrorText) {
        store.write(HKLM, schema::options::X.path, QString::number(schema::defaultConsoleLeft(*screenWidthTwips)));
        store.write(HKLM, schema::options::Y.path, schema::options::Y.defaultText);
    }
    schema::ensureValue(store, schema::options::Ancrage);

    outcome.firstStart = store.value(HKLM, schema::options::FirstBoot.path) == schema::FlagOn;
    return outcome;
}
