// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// One printed line of the journal or the year report: its items, each padded
// with blanks to the next print zone of 14 columns, the last one as it is.
namespace printline {

constexpr int Zone = 14;

QString join(const QStringList &items);

} // namespace printline
