// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outlook/PeriodOutlook.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The billing period's outlook, written for people, for scripts and for status
// bars.
namespace outlookreport {

// How the month stands: "nopackage" without a package, "critical" once it is
// used up, "warning" from the highest warning threshold on, "normal" below.
QString state(const PeriodOutlook &outlook, const QList<int> &thresholds);

// A few lines in plain words.
QString text(const PeriodOutlook &outlook);
// One JSON object: every figure, amounts both in seconds and as duration texts.
QByteArray json(const PeriodOutlook &outlook, const QList<int> &thresholds);
// The one-line JSON object of a status bar's custom module: text (the month's
// hours and minutes), tooltip, percentage (of the package) and class (state()).
QByteArray waybar(const PeriodOutlook &outlook, const QList<int> &thresholds);

} // namespace outlookreport
