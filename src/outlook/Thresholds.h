// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/SettingsStore.h"

#include <QList>
#include <QString>

#include <optional>

// Lists of warning thresholds: shares of the package in whole percent, 1 to 99
// (100 is the package alert's own), written "80,90".
namespace thresholds {

constexpr int Lowest = 1;
constexpr int Highest = 99;

// A list as typed: whole numbers from 1 to 99 separated by commas, blanks
// allowed around them; an empty text is no threshold. Sorted, each number once.
// Nothing when any item is not such a number.
std::optional<QList<int>> parse(const QString &text);
// A stored list, read as far as it reads: the items that are such numbers
// (a hand edit that spoils one item does not lose the others).
QList<int> readLeniently(const QString &text);
// The list as stored: "80,90"; empty for none.
QString text(const QList<int> &list);
// The thresholds in force, from a reading of the stored option: the stored
// list, or the default when none is stored.
QList<int> inForce(const SettingsStore::Reading &stored);

} // namespace thresholds
