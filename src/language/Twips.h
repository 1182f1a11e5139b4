// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// Positions are stored and designed in twips; windows work in pixels. The
// conversion happens at the window boundary only, at 15 twips per pixel.
namespace twips {

constexpr int PerPixel = 15;

constexpr qint64 toPixels(qint64 twips)
{
    return twips / PerPixel;
}

// Pixels for a window position: any stored number, however large, gives a
// position a window can take.
constexpr int toWindowPixels(qint64 twips)
{
    constexpr qint64 limit = 1000000;
    const qint64 pixels = twips / PerPixel;
    return static_cast<int>(pixels < -limit ? -limit : pixels > limit ? limit : pixels);
}

constexpr qint64 fromPixels(qint64 pixels)
{
    return pixels * PerPixel;
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(left / PerPixel, top / PerPixel, width / PerPixel, height / PerPixel);
}

} // namespace twips
