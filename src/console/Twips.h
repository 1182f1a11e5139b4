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

constexpr qint64 fromPixels(qint64 pixels)
{
    return pixels * PerPixel;
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(left / PerPixel, top / PerPixel, width / PerPixel, height / PerPixel);
}

} // namespace twips
