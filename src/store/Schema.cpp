// SPDX-License-Identifier: GPL-3.0-or-later
#include "Schema.h"

#include "SettingsStore.h"

namespace schema {

bool readTruth(const QString &text, bool fallback)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = trimmed.toDouble(&isNumber);
    return isNumber ? number != 0 : fallback;
}

} // namespace schema

namespace schema {

QString ensureValue(SettingsStore &store, const Value &value)
{
    const QString text = store.value(SettingsStore::LocalMachine, value.path);
    if (text != SettingsStore::ErrorText)
        return text;
    store.write(SettingsStore::LocalMachine, value.path, value.defaultText);
    return value.defaultText;
}

} // namespace schema
