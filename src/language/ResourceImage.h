// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

// The program's own pictures (":/images/..."), read in the format their file
// name gives. Left to guess a format, Qt loads every image plugin installed
// (JPEG, GIF, icons, ...) to ask each, and they stay in memory for good.
namespace resourceimage {

QImage image(const QString &path);
QPixmap pixmap(const QString &path);
QIcon icon(const QString &path);

} // namespace resourceimage
