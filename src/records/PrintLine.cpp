// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintLine.h"

namespace printline {

QString join(const QStringList &items)
{
    QString line;
    for (int i = 0; i < items.size(); ++i) {
        line += items.at(i);
        if (i + 1 < items.size())
            line += QString(Zone - line.size() % Zone, QLatin1Char(' '));
    }
    return line;
}

} // namespace printline
