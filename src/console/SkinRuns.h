// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QVector>

// The shape of a skinned window: for each row of the picture, the runs of pixels
// that are not pure red (255, 0, 0, the one transparent colour), as rectangles
// one pixel high, top to bottom and left to right. The last column never belongs
// to a run. Pixels are 0xAARRGGBB values, `stride` pixels apart from row to row.
QVector<QRect> opaqueRuns(const quint32 *pixels, int width, int height, int stride);
