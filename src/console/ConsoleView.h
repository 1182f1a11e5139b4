// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "metering/MeterView.h"

#include <QPoint>
#include <QString>

// What the console's logic asks of the console window, beyond showing the
// meter. The window implements it; tests implement it with a recorder.
class ConsoleView : public MeterView {
public:
    // The heading of the user line (Label4).
    virtual void setUserHeading(const QString &text) = 0;
    // The console appears (the first start's Options dialog was confirmed).
    virtual void showConsole() = 0;
    virtual void placeLeft(qint64 twips) = 0;
    virtual void placeTop(qint64 twips) = 0;
    virtual qint64 leftTwips() const = 0;
    virtual qint64 topTwips() const = 0;
    // Whether the console placed there would be seen on one of the screens.
    virtual bool fitsOnScreen(qint64 leftTwips, qint64 topTwips) const = 0;
    // The compositor moves the console with the pointer, from the button press
    // under way until its release.
    virtual void startSystemMove() = 0;
    // The console's opacity, 0 (invisible) to 255 (opaque).
    virtual void setOpacity(int alpha) = 0;
    // Above all other windows, or in the normal order.
    virtual void setOnTop(bool onTop) = 0;
    // The pointer over the console says whether it can be dragged.
    virtual void setMovableCursor(bool movable) = 0;

    // The console's animation timers.
    enum class Timer { Slide, HideFade, PopupFade };
    virtual void setTimerRunning(Timer timer, bool running) = 0;
    // The menu offers "Montrer" (the console is hidden) or "Cacher".
    virtual void offerShow(bool show) = 0;
    // The menu opens at that point of the screen (pixels).
    virtual void openMenuAt(const QPoint &globalPixels) = 0;
    // The periodic pop-up is asked for.
    virtual void requestPopup() = 0;
};
