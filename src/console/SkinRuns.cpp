#include "SkinRuns.h"

namespace {
constexpr quint32 kTransparentRed = 0xFF0000;
} // namespace

QVector<QRect> opaqueRuns(const quint32 *pixels, int width, int height, int stride)
{
    QVector<QRect> runs;
    if (height < 1 || width < 1)
        return runs;
    for (int y = 0; y < height; ++y) {
        const quint32 *row = pixels + static_cast<qsizetype>(y) * stride;
        int start = -1;
        for (int x = 0; x < width; ++x) {
            const bool opaque = (row[x] & 0xFFFFFF) != kTransparentRed && x != width - 1;
            if (opaque && start < 0) {
                start = x;
            } else if (!opaque && start >= 0) {
                runs.append(QRect(start, y, x - start, 1));
                start = -1;
            }
        }
    }
    return runs;
}
