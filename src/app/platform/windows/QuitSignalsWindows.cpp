// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QuitSignals.h"

// Windows sends a windowed program no termination signals: it ends through its
// menu, or with the session, which the application's commit-data request
// already saves for.
QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
}

QuitSignals::~QuitSignals() = default;
