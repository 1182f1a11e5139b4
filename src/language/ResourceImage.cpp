// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResourceImage.h"

#include <QFileInfo>
#include <QImageReader>

namespace resourceimage {

QImage image(const QString &path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QPixmap pixmap(const QString &path)
{
    return QPixmap::fromImage(image(path));
}

QIcon icon(const QString &path)
{
    return QIcon(pixmap(path));
}

} // namespace resourceimage
