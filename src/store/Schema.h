// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Every stored value of the meter: its path below HKEY_LOCAL_MACHINE and, where it
// has one, the default written when it is missing. Nothing else in the program
// spells a stored path.
namespace schema {

inline const QString Product = QStringLiteral("SOFTWARE\\Dialmeter\\");
inline const QString OptionsKey = Product + QStringLiteral("Options\\");
inline const QString VariablesKey = Product + QStringLiteral("Variables\\");
inline const QString UserKey = Product + QStringLiteral("User\\");
inline const QString ReportKey = Product + QStringLiteral("Compte Rendu\\");

// A stored value with the text written when it is missing (empty: no default).
struct Value {
    QString path;
    QString defaultText;
};

namespace options {
inline const Value Cache{OptionsKey + QStringLiteral("Caché"), QStringLiteral("False")};
inline const Value OldHideWay{OptionsKey + QStringLiteral("OldHideWay"), QStringLiteral("True")};
// X has a default that depends on the screen: see defaultConsoleLeft().
inline const Value X{OptionsKey + QStringLiteral("X"), {}};
inline const Value Y{OptionsKey + QStringLiteral("Y"), QStringLiteral("400")};
inline const Value Ancrage{OptionsKey + QStringLiteral("Ancrage"), QStringLiteral("1")};
inline const Value Top{OptionsKey + QStringLiteral("Top"), {}};
inline const Value Langage{OptionsKey + QStringLiteral("Langage"), {}};
inline const Value LaunchAtWinStartup{OptionsKey + QStringLiteral("LaunchAtWinStartup"), {}};
inline const Value Pourcent{OptionsKey + QStringLiteral("Pourcent"), {}};
inline const Value Alarm{OptionsKey + QStringLiteral("Alarm"), {}};
inline const Value Pop{OptionsKey + QStringLiteral("Pop"), {}};
inline const Value Indivisible{OptionsKey + QStringLiteral("Indivisible"), {}};
inline const Value Forfait{OptionsKey + QStringLiteral("Forfait"), QStringLiteral("00:00:00")};
inline const Value Forf{OptionsKey + QStringLiteral("Forf"), {}};
inline const Value Raz{OptionsKey + QStringLiteral("Raz"), {}};
inline const Value Anniversaire{OptionsKey + QStringLiteral("Anniversaire"), {}};
inline const Value FirstBoot{OptionsKey + QStringLiteral("FirstBoot"), {}};
inline const Value Interfaces{OptionsKey + QStringLiteral("Interfaces"), {}};
// The shares of the package, in percent, at which the user is warned before
// it is used up; empty for none. The default is read, never written.
inline const Value Seuils{OptionsKey + QStringLiteral("Seuils"), QStringLiteral("80,90")};
} // namespace options

namespace variables {
inline const QString ZeroCounter = QStringLiteral("00:00:00");
inline const Value Total{VariablesKey + QStringLiteral("Total"), ZeroCounter};
inline const Value Jour{VariablesKey + QStringLiteral("Jour"), ZeroCounter};
// The month counter of one user.
inline Value user(const QString &userName)
{
    return {VariablesKey + userName, ZeroCounter};
}
} // namespace variables

// User slots: slot 0 always holds "Total", the others the user names in order of
// first use, without gaps.
inline const QString TotalSlotName = QStringLiteral("Total");
inline QString userSlot(int slot)
{
    return UserKey + QString::number(slot);
}

namespace report {
inline const Value Date{ReportKey + QStringLiteral("Date"), {}};
// A month being archived by a store without transactions: every archive's final
// text and the counter it came from, so that a rollover cut short is finished
// as it was meant rather than counted twice. Present only while one runs.
inline const Value ArchiveInProgress{ReportKey + QStringLiteral("Archive en cours"), {}};
// The warning thresholds already given in this period; cleared by the rollover.
inline const Value Seuils{ReportKey + QStringLiteral("Seuils"), {}};
// One archived month: the year in four digits, the month without a leading zero.
inline QString archive(int year, int month, const QString &name)
{
    return ReportKey + QString::number(year) + QLatin1Char('\\') + QString::number(month) + QLatin1Char('\\') + name;
}
} // namespace report

// Flag texts are tested by equality with "1"; truth texts are "True"/"False".
inline const QString FlagOn = QStringLiteral("1");
inline const QString FlagOff = QStringLiteral("0");
inline QString truthText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
// A truth text read back: "True"/"False" in any case, or a number (0 is no).
bool readTruth(const QString &text, bool fallback);

// The console's default left edge: 3600 twips from the right of the screen.
inline qint64 defaultConsoleLeft(qint64 screenWidthTwips)
{
    return screenWidthTwips - 3600;
}

} // namespace schema

class SettingsStore;

namespace schema {
// Reads a value; when it is missing, writes its default first. Returns the text
// that the value holds now.
QString ensureValue(SettingsStore &store, const Value &value);
} // namespace schema
