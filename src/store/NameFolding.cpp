// SPDX-License-Identifier: GPL-3.0-or-later
#include "NameFolding.h"

QString foldName(const QString &name)
{
    // QString::toCaseFolded() folds one character to one character only; going
    // through the upper case first applies the one-to-many mappings (ß -> SS).
    return name.normalized(QString::NormalizationForm_C).toUpper().toLower();
}
