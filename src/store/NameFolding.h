// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Key and value names match without regard to case, by full Unicode case folding
// ("Caché" = "CACHÉ", "Straße" = "STRASSE"), whatever the composition form of
// their accents.
QString foldName(const QString &name);
