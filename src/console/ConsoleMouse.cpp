// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConsoleMouse.h"

#include "ConsoleCore.h"
#include "ConsoleView.h"
#include "language/Twips.h"
#include "store/Schema.h"
#include "store/SettingsStore.h"

ConsoleMouse::ConsoleMouse(ConsoleCore &console)
    : console_(console)
{
}

void ConsoleMouse::pressed(Button button, const QPoint &global)
{
    if (button != Button::Left || console_.anchored())
        return;
    // A compositor moves its windows itself, following the pointer until the
    // button is released.
    if (console_.compositorPlaces) {
        console_.services().view.startSystemMove();
        return;
    }
    const ConsoleView &view = console_.services().view;
    const QPoint window(static_cast<int>(twips::toPixels(view.leftTwips())),
                        static_cast<int>(twips::toPixels(view.topTwips())));
    grab_ = global - window;
    blMove_ = true;
}

void ConsoleMouse::moved(const QPoint &global)
{
    // A drag goes on until the left button is released, even if the console is
    // anchored meanwhile.
    if (!blMove_)
        return;
    ConsoleView &view = console_.services().view;
    const QPoint window = global - grab_;
    view.placeLeft(twips::fromPixels(window.x()));
    view.placeTop(twips::fromPixels(window.y()));
}

void ConsoleMouse::released(Button button, const QPoint &global)
{
    if (button == Button::Right)
        console_.services().view.openMenuAt(global);
    else if (button == Button::Left)
        blMove_ = false;
}

void ConsoleMouse::doubleClicked()
{
    console_.hiding().toggleHidden();
}
