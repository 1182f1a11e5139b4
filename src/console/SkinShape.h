// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRegion>

// The window region cut out of a skin picture: every pixel but the pure red ones,
// built at once from the rows' runs. An all-red picture gives an empty region.
QRegion outlineRegion(const QImage &picture);

// The console's skin box: the skin at its top left corner, pure red around it.
QImage skinBox(const QImage &skin, const QSize &box);
