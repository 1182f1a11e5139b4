// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinShape.h"

#include "SkinRuns.h"

#include <QPainter>

QRegion outlineRegion(const QImage &picture)
{
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    const QVector<QRect> runs = opaqueRuns(reinterpret_cast<const quint32 *>(pixels.constBits()), pixels.width(),
                                           pixels.height(), static_cast<int>(pixels.bytesPerLine() / 4));
    // The runs are one-pixel rows sorted top to bottom and left to right, never
    // overlapping: the banded form a region is made of, so it is set in one go.
    QRegion region;
    if (!runs.isEmpty())
        region.setRects(runs.constData(), static_cast<int>(runs.size()));
    return region;
}

QImage skinBox(const QImage &skin, const QSize &box)
{
    QImage image(box, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    QPainter painter(&image);
    painter.drawImage(0, 0, skin);
    return image;
}
