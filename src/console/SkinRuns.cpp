// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinRuns.h"

namespace {
constexpr quint32 kTransparentRed = 0xFF0000;

inline bool isRed(quint32 pixel)
{
    return (pixel & 0xFFFFFF) == kTransparentRed;
}
} // namespace

QVector<QRect> opaqueRuns(const quint32 *pixels, int width, int height, int stride)
{
    QVector<QRect> runs;
    if (height < 1 || width < 1)
        return runs;
    runs.reserve(height);
    // The last column closes every run and never belongs to one.
    const int last = width - 1;
    for (int y = 0; y < height; ++y) {
        const quint32 *row = pixels + static_cast<qsizetype>(y) * stride;
        int x = 0;
        while (x < last) {
            while (x < last && isRed(row[x]))
                ++x;
            if (x == last)
                break;
            const int start = x;
            while (x < last && !isRed(row[x]))
                ++x;
            runs.append(QRect(start, y, x - start, 1));
        }
    }
    return runs;
}
