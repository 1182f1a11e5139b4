// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

// What the pop-up's animation asks of the windows: the pop-up window itself,
// the animation timer, the screen and its taskbar, and the console's z-order.
class PopupView {
public:
    virtual ~PopupView() = default;

    // The screen and the taskbar's rectangle on it, in pixels (right and bottom
    // exclusive). With no taskbar, an empty rectangle along the bottom edge.
    virtual QSize screenPixels() const = 0;
    virtual QRect taskbarPixels() const = 0;

    // The pop-up window, created the first time and kept for the next ones:
    // given its figures (still unseen), shown, put away.
    virtual void loadPopup(const QString &total, const QString &since) = 0;
    virtual void showPopup() = 0;
    virtual void unloadPopup() = 0;
    virtual void placePopup(qint64 leftTwips, qint64 topTwips) = 0;
    virtual void setPopupAlpha(int alpha) = 0;
    virtual void setPopupOnTop(bool onTop) = 0;
    // The same figures as a desktop notification, in place of the pop-up window.
    virtual void showNotice(const QString &total, const QString &since) = 0;

    virtual void setTimerRunning(bool running) = 0;
    // The console goes behind every other window.
    virtual void sendConsoleToBottom() = 0;
};
